// The host both window frameworks share: the activation guard under each policy, exceptions that
// leave a handler, and the closing of a window whose sequence an exception cut short.
#include "form_host.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "form1_definition.h"
#include "recording_error_box.h"

namespace autorun {
namespace {

// A window that records the form's steps and, like Win32, can deliver an activation from inside
// the raise that the handler itself asks for.
class ScriptedWindow : public HostedWindow, public FormSystem {
   public:
    FormHost* host = nullptr;
    bool activateWhileRaising = false;
    bool failStart = false;
    bool open = true;
    std::vector<std::string> calls;

    PictureSize SplashPictureSize() const override { return {800, 600}; }
    bool IsOpen() const override { return open; }
    std::string ModuleFileName() override { return "/media/cdrom/autorun"; }
    PathSyntax PathRules() override { return kPosixPaths; }
    std::string SettingsFileName() override { return "no-such-settings.dat"; }
    std::string PathFromSettingsText(const std::string& text) override { return text; }
    void RaiseWindow() override {
        calls.push_back("raise");
        if (activateWhileRaising) host->Activate();
    }
    void MaximizeWindow() override {}
    int ScreenWidth() override { return 1024; }
    void RepaintNow() override {}
    void Wait(unsigned) override {}
    void StartProcess(const std::string& path) override {
        if (failStart) throw std::runtime_error("no process for " + path);
        calls.push_back("start " + path);
    }
    void CloseWindow() override {
        calls.push_back("close");
        open = false;
    }
};

class FormHostTest : public ::testing::Test {
   protected:
    void Create(ActivationPolicy policy) {
        host = std::make_unique<FormHost>(errorBox, policy);
        window.host = host.get();
        ASSERT_TRUE(
            host->CreateMainForm([this]() -> HostedWindow& { return window; }, window, kForm1Definition));
        errorBox.messages.clear();  // the missing settings file
    }
    // As the windows deliver an activation: through RunHandler, then the loop's check.
    void ActivateAndLoop() {
        host->RunHandler([this] { host->Activate(); });
        host->CloseIfSequenceAbandoned();
    }
    int Count(const std::string& call) const {
        int count = 0;
        for (const auto& made : window.calls) count += made == call;
        return count;
    }

    RecordingErrorBox errorBox;
    ScriptedWindow window;
    std::unique_ptr<FormHost> host;
};

TEST_F(FormHostTest, RefuseNestedRunsOnceForANestedActivationAndAgainForALaterOne) {
    Create(ActivationPolicy::kRefuseNested);
    window.activateWhileRaising = true;
    ActivateAndLoop();
    EXPECT_EQ(Count("raise"), 1);
    EXPECT_EQ(Count("start /media/cdrom/lmq.bin"), 1);
    ActivateAndLoop();
    EXPECT_EQ(Count("raise"), 2);
    EXPECT_EQ(Count("start /media/cdrom/lmq.bin"), 2);
    EXPECT_TRUE(errorBox.messages.empty());
}

TEST_F(FormHostTest, RunOnceIgnoresEveryLaterActivation) {
    Create(ActivationPolicy::kRunOnce);
    window.activateWhileRaising = true;
    ActivateAndLoop();
    ActivateAndLoop();
    EXPECT_EQ(Count("raise"), 1);
    EXPECT_EQ(Count("start /media/cdrom/lmq.bin"), 1);
    EXPECT_EQ(Count("close"), 1);
}

TEST_F(FormHostTest, ActivationsWhileTheWindowIsBeingMadeFindNoFormAndAreDropped) {
    RecordingErrorBox box;
    FormHost early(box, ActivationPolicy::kRunOnce);
    window.host = &early;
    ASSERT_TRUE(early.CreateMainForm(
        [&]() -> HostedWindow& {
            // Win32 sends its first messages from inside the window's creation.
            early.Activate();
            early.CloseIfSequenceAbandoned();
            EXPECT_EQ(early.Form(), nullptr);
            return window;
        },
        window, kForm1Definition));
    EXPECT_TRUE(window.calls.empty());
    // The first activation after creation still runs: the early one did not use up the policy's one run.
    early.Activate();
    EXPECT_EQ(Count("raise"), 1);
}

TEST_F(FormHostTest, ASequenceCutShortIsReportedAndItsWindowClosedOnce) {
    Create(ActivationPolicy::kRefuseNested);
    window.failStart = true;
    ActivateAndLoop();
    EXPECT_EQ(errorBox.messages, std::vector<std::string>{"no process for /media/cdrom/lmq.bin."});
    EXPECT_EQ(Count("close"), 1);
    EXPECT_FALSE(window.IsOpen());
    host->CloseIfSequenceAbandoned();
    EXPECT_EQ(Count("close"), 1);
}

TEST_F(FormHostTest, NoWindowIsClosedBeforeTheSequenceOrByAFinishedOne) {
    Create(ActivationPolicy::kRefuseNested);
    host->CloseIfSequenceAbandoned();
    EXPECT_TRUE(window.calls.empty());
    ActivateAndLoop();
    EXPECT_EQ(Count("close"), 1);  // the sequence's own
}

TEST_F(FormHostTest, ExceptionsLeavingAHandlerAreReportedAndGoNoFurther) {
    Create(ActivationPolicy::kRunOnce);
    host->RunHandler([] { throw std::runtime_error("File bin2.dat is damaged"); });
    host->RunHandler([] { throw 42; });
    host->RunHandler([] {});
    const std::vector<std::string> expected = {"File bin2.dat is damaged.", "Unexpected error."};
    EXPECT_EQ(errorBox.messages, expected);
}

class FailingErrorBox : public ErrorBox {
   public:
    void ShowError(const std::string&) override { throw std::bad_alloc(); }
};

TEST(FormHost, AnErrorBoxThatFailsDoesNotEndTheProgram) {
    FailingErrorBox box;
    FormHost host(box, ActivationPolicy::kRefuseNested);
    host.RunHandler([] { throw std::runtime_error("boom"); });
    SUCCEED();
}

}  // namespace
}  // namespace autorun
