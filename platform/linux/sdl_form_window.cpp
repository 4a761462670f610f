#include "sdl_form_window.h"

#include "error_report.h"
#include "message_error.h"
#include "startup_phases.h"

namespace autorun {
namespace {

Uint32 FlagsOf(const FormDefinition& definition) {
    // Hidden until Show, so that the creation handler's error box comes first, as on Windows.
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (definition.borderless) flags |= SDL_WINDOW_BORDERLESS;
    if (definition.topmost) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
    return flags;
}

bool IsRepaintRequest(const SDL_Event& event) {
    return event.type == SDL_WINDOWEVENT && (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                                             event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED);
}

}  // namespace

SdlFormWindow::SdlFormWindow(const FormDefinition& definition, const std::string& title,
                             std::vector<std::uint8_t> splashJpeg, FormHost& host)
    : host_(host), painter_(std::move(splashJpeg), definition.backgroundRgb) {
    const int position = definition.centredOnScreen ? SDL_WINDOWPOS_CENTERED : SDL_WINDOWPOS_UNDEFINED;
    window_.reset(SDL_CreateWindow(title.c_str(), position, position, definition.clientWidth,
                                   definition.clientHeight, FlagsOf(definition)));
    if (!window_) throw MessageError(CannotCreateWindowMessage(SDL_GetError()));
}

void SdlFormWindow::Show() {
    SDL_ShowWindow(window_.get());
}

bool SdlFormWindow::IsOurs(const SDL_Event& event) const {
    return event.type == SDL_WINDOWEVENT && window_ &&
           event.window.windowID == SDL_GetWindowID(window_.get());
}

void SdlFormWindow::HandleEvent(const SDL_Event& event) {
    host_.RunHandler([&] { DispatchEvent(event); });
}

void SdlFormWindow::DispatchEvent(const SDL_Event& event) {
    if (event.type == SDL_QUIT) {
        CloseWindow();
        return;
    }
    if (!IsOurs(event)) return;
    switch (event.window.event) {
        // Without a window manager no window is ever given the focus: being shown counts as
        // being activated.
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            host_.Activate();
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            Paint();
            break;
        case SDL_WINDOWEVENT_CLOSE:
            CloseWindow();
            break;
        default:
            break;
    }
}

void SdlFormWindow::Paint() {
    const TForm1* form = host_.Form();
    if (!window_ || !form) return;
    SDL_Surface* surface = SDL_GetWindowSurface(window_.get());
    if (!surface) return;
    painter_.Paint(*surface, form->Image1);
    SDL_UpdateWindowSurface(window_.get());
}

void SdlFormWindow::RaiseWindow() {
    SDL_RaiseWindow(window_.get());
}

SDL_Rect SdlFormWindow::PrimaryScreen() const {
    SDL_Rect bounds{0, 0, 0, 0};
    SDL_GetDisplayBounds(0, &bounds);
    return bounds;
}

void SdlFormWindow::MaximizeWindow() {
    // The borderless window is placed over the whole primary screen itself: a maximize request
    // would need a window manager to carry it out, and would stop at the desktop's panels.
    const SDL_Rect screen = PrimaryScreen();
    SDL_SetWindowPosition(window_.get(), screen.x, screen.y);
    SDL_SetWindowSize(window_.get(), screen.w, screen.h);
}

int SdlFormWindow::ScreenWidth() {
    return PrimaryScreen().w;
}

void SdlFormWindow::RepaintNow() {
    MarkPhase("showing, activation, maximizing");
    Paint();
    MarkPhase("decoding, scaling, drawing and flush");
    WritePhases();
}

void SdlFormWindow::Wait(unsigned milliseconds) {
    // X keeps no copy of a window's pixels: whatever the server asks to be repainted is
    // repainted during the wait.  Everything else, user input included, is left unhandled.
    const Uint64 deadline = SDL_GetTicks64() + milliseconds;
    for (Uint64 now = SDL_GetTicks64(); now < deadline; now = SDL_GetTicks64()) {
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, static_cast<int>(deadline - now)) && IsOurs(event) &&
            IsRepaintRequest(event))
            Paint();
    }
}

void SdlFormWindow::CloseWindow() {
    window_.reset();
}

}  // namespace autorun
