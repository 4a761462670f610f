#include "size_estimate.h"

#include <memory>

#include "disc_authoring.h"
#include "window_messages.h"

namespace disc_maker {

SizeEstimate::SizeEstimate(HWND window, authoring::DiscProject project, std::filesystem::path toolFolder)
    : window_(window),
      project_(std::move(project)),
      toolFolder_(std::move(toolFolder)),
      thread_([this] { Run(); }) {}

void SizeEstimate::Run() {
    auto estimate = std::make_unique<Estimate>();
    try {
        estimate->sectors = authoring::EstimateDiscSectors(project_, {toolFolder_, {}, {}});
    } catch (const std::exception& error) {
        estimate->error = error.what();
    } catch (...) {
        estimate->error = "unexpected failure";
    }
    PostOwned(window_, kEstimateDone, std::move(estimate));
}

}  // namespace disc_maker
