// Owners of SDL's objects.
#pragma once

#include <SDL.h>

#include <memory>

namespace autorun {

struct SdlWindowDeleter {
    void operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
};
struct SdlSurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};

using SdlWindowPtr = std::unique_ptr<SDL_Window, SdlWindowDeleter>;
using SdlSurfacePtr = std::unique_ptr<SDL_Surface, SdlSurfaceDeleter>;

// SDL's video subsystem for as long as the object lives.
class SdlVideo {
   public:
    SdlVideo() : ready_(SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {}
    ~SdlVideo() {
        if (ready_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
        SDL_Quit();
    }
    SdlVideo(const SdlVideo&) = delete;
    SdlVideo& operator=(const SdlVideo&) = delete;
    bool Ready() const { return ready_; }

   private:
    bool ready_;
};

}  // namespace autorun
