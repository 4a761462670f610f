// Program entry of the Linux launcher: the application titled "Autorun" with its one window;
// everything the user sees happens in that window's handlers.
#include <SDL.h>

#include "error_report.h"
#include "form1_definition.h"
#include "launcher_location.h"
#include "sdl_application.h"

int main(int argc, char** argv) {
    // Ctrl+C and kill end the launcher as they end any program, instead of waiting for the sequence.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    autorun::SdlApplication application(autorun::LauncherPath(argc, argv));
    application.SetTitle(autorun::kApplicationTitle);
    if (!application.CreateMainForm(autorun::kForm1Definition)) return 1;
    return application.Run();
}
