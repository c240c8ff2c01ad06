#pragma once
// The REGISTRY SETTINGS page: shell toggles that remember their state in
// files under c:\qor, and Explorer policies switched by registry import files.
#include <array>
#include <memory>
#include <string>

#include "platform/files.h"
#include "platform/registry.h"
#include "platform/security.h"
#include "platform/shell.h"
#include "platform/sysinfo.h"
#include "platform/windowing.h"
#include "tweaks/shell_toggles.h"
#include "tweaks/state_folder.h"
#include "tweaks/state_files.h"
#include "ui/controls.h"
#include "ui/page.h"

class TweaksPage : public PageHandler {
public:
    explicit TweaksPage(platform::Files& files = platform::RealFiles(),
                        platform::Windowing& windowing = platform::RealWindowing(),
                        platform::Shell& shell = platform::RealShell(),
                        platform::Registry& registry = platform::RealRegistry(),
                        platform::SystemInfo& system = platform::RealSystemInfo(),
                        platform::Security& security = platform::RealSecurity())
        : files_(files),
          toggles_(windowing),
          shell_(shell),
          registry_(registry),
          system_(system),
          security_(security) {}
    TweaksPage(const TweaksPage&) = delete;
    TweaksPage& operator=(const TweaksPage&) = delete;

    // The state holders, the explanation and the state label: what restoring
    // the toggles works with.
    void Create(Page page, const PageContext& context) override;
    // The buttons, then the page is laid out.
    void CreateRest(Page page, const PageContext& context) override;
    void ChangeDpi(Page page, const PageContext& context) override;
    void Resize(int width, int height) override;
    // Shows what the shell and the policies are now.
    void Activate(Page) override { ShowCurrentState(); }
    void Timer(UINT_PTR timerId) override;
    HBRUSH ControlColor(HDC dc, HWND control) override;

    // At start-up, after WIN.INI: applies the remembered toggles; throws at the first failure.
    void RestoreToggles();
    // At start-up, after the toggles: creates the state directory and files on the first run.
    // Throws, once a run, when c:\qor is there but not to be used.
    void FirstRunCheck();

    // Taskbar, start button, tray, clock and key combination toggles.
    void Button17Click();
    void Button18Click();
    void Button19Click();
    void Button20Click();
    void Button23Click();
    void Button24Click();
    void Button25Click();
    void Button26Click();
    void Button7Click();
    void Button15Click();
    // Policies.
    void Button21Click();
    void Button22Click();
    void Button27Click();
    void Button28Click();
    void Button29Click();
    void Button30Click();
    void Button31Click();
    void Button32Click();

private:
    static constexpr size_t kButtonCount = 18;

    // Runs a button's handler, then shows what the shell and policies are now.
    void Apply(void (TweaksPage::*onClick)());
    ui::Memo& Holder(int memo) { return holders_[static_cast<size_t>(memo - kMarkerMemo)]; }
    ui::Memo& HolderOf(StateFile file) { return Holder(StateFileOf(file).holderMemo); }
    // Sets the toggle's holder to `word` and saves it to its state file.
    void Record(StateFile file, const char* word);
    // Throws the folder's refusal the first time a run meets one; after
    // that the steps pass c:\qor by without a word.
    void SayRefusedOnce(const StateFolder& folder);
    bool MarkerShowsEarlierRun();
    void WritePolicyFile(const std::string& valueLine);
    void ImportPolicyFile();
    void CreateStateDirectory();
    void CreateMemos(const PageContext& context);
    void CreateButtons(const PageContext& context);
    void CreateStateLabel(const PageContext& context);
    void ShowCurrentState();
    std::string CurrentStateText();
    // The registry editor imports a policy file in its own time: the state
    // is read again a few times after it was handed over.
    void WatchPolicyImport();
    void WidenColumnsToCaptions();
    void Lay(SIZE shortfall);

    platform::Files& files_;
    ShellToggles toggles_;
    platform::Shell& shell_;
    platform::Registry& registry_;
    platform::SystemInfo& system_;
    platform::Security& security_;
    bool refusalSaid_ = false;  // this run has said why c:\qor is not used
    // c:\test.reg, held while the registry editor imports it.
    std::unique_ptr<platform::FileHeldWhileRunning> policyImport_;
    HWND sheet_ = nullptr;
    ui::Dpi dpi_;
    ui::Label stateLabel_;                          // what each setting is now
    int stateReadsLeft_ = 0;                        // after a policy file was handed over
    ui::Memo memo7_;                                // the policy file's text
    std::array<ui::Memo, 10> holders_;              // Memo8 (first-run marker) ... Memo17
    ui::Memo memo18_;                               // the explanation
    std::array<ui::Button, kButtonCount> buttons_;  // in the order of the design's table
    int longButtonWidth_ = 0;                       // the width both columns take, in device pixels
};
