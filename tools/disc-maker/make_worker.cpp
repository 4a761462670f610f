#include "make_worker.h"

#include <memory>

#include "window_messages.h"

namespace disc_maker {
namespace {

// Thrown from the make's callbacks to unwind it; the writers leave nothing behind on any exception.
struct MakeCancelled {};

}  // namespace

MakeWorker::MakeWorker(HWND window, authoring::DiscProject project, std::filesystem::path toolFolder)
    : window_(window),
      project_(std::move(project)),
      toolFolder_(std::move(toolFolder)),
      thread_([this] { Run(); }) {}

void MakeWorker::ThrowIfCancelled() const {
    if (cancel_) throw MakeCancelled{};
}

void MakeWorker::Run() {
    auto outcome = std::make_unique<MakeOutcome>();
    outcome->output = project_.output;
    outcome->folder = project_.outputKind == authoring::OutputKind::kFolder;
    const authoring::AuthoringRun run{toolFolder_,
                                      [this](double share) {
                                          ThrowIfCancelled();
                                          PostMessageW(window_, kMakeProgress, WPARAM(share * 1000 + 0.5), 0);
                                      },
                                      [this](const std::string& text) {
                                          ThrowIfCancelled();
                                          PostOwned(window_, kMakeWarning,
                                                    std::make_unique<std::string>(text));
                                      }};
    try {
        outcome->made = authoring::MakeDisc(project_, run);
        outcome->end = MakeOutcome::End::kMade;
    } catch (const MakeCancelled&) {
        outcome->end = MakeOutcome::End::kCancelled;
    } catch (const std::exception& error) {
        outcome->error = error.what();
    } catch (...) {
        outcome->error = "unexpected failure";
    }
    PostOwned(window_, kMakeDone, std::move(outcome));
}

}  // namespace disc_maker
