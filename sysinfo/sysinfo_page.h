#pragma once
// The SYSTEM INFO page: twelve facts about the machine and the installed
// software, gathered afresh at every activation. The slow facts are gathered
// on worker threads, so the window keeps answering meanwhile; closing the page
// does not wait for them long.
#include <array>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "platform/file_dialog.h"
#include "platform/files.h"
#include "platform/netbios.h"
#include "platform/registry.h"
#include "platform/sysinfo.h"
#include "platform/timing.h"
#include "sysinfo/installed_software.h"
#include "sysinfo/number_format.h"
#include "sysinfo/refresh_job.h"
#include "ui/controls.h"
#include "ui/page.h"

// What the facts are gathered from.
struct FactSources {
    platform::SystemInfo& system;
    platform::NetBios& netbios;
    platform::Timing& timing;
    platform::Registry& registry;
    Separators separators;
};

// The locale's separators, as a refresh formats numbers with them.
Separators UserSeparators(platform::SystemInfo& system);
// Every fact gathered afresh by the page's own queries, one after another on
// the calling thread; a query that failed leaves what it threw.
std::array<FactResult, kFactCount> GatherFacts(const FactSources& from);
// The facts top to bottom, as the page shows them and the report lists them.
std::vector<Fact> FactsTopToBottom();
// The caption the page shows before the fact's value: "Computername : ".
std::string FactCaption(Fact fact);
// What "Copy" copies: every fact top to bottom, "caption value" a line, then
// the installed software in the order given; CR+LF line ends. `values` are
// indexed by Fact.
std::string ReportText(const std::array<std::string, kFactCount>& values, const std::vector<std::string>& programs);

// Who gathers a fact during a refresh.
enum class GatheredBy {
    ShowComputerName,  // the window thread, through ListBox1
    Button33Click,     // the window thread: memory
    Button34Click,     // the window thread: processor
    OtherFacts,        // one worker, fact after fact
    NetBiosProbe,      // a worker shared with overlapping refreshes
    ClockProbe,        // likewise
};

class SysInfoPage : public PageHandler {
public:
    explicit SysInfoPage(platform::SystemInfo& system = platform::RealSystemInfo(),
                         platform::NetBios& netbios = platform::RealNetBios(),
                         platform::Timing& timing = platform::RealTiming(),
                         platform::Registry& registry = platform::RealRegistry(),
                         platform::Files& files = platform::RealFiles(),
                         platform::Clipboard& clipboard = platform::RealClipboard(),
                         platform::FileDialog& fileDialog = platform::RealFileDialog());
    ~SysInfoPage() override;
    SysInfoPage(const SysInfoPage&) = delete;
    SysInfoPage& operator=(const SysInfoPage&) = delete;

    void Create(Page page, const PageContext& context) override;
    void ChangeDpi(Page page, const PageContext& context) override;
    void Resize(int width, int height) override;
    // Gathers every fact afresh (see Refresh).
    void Activate(Page) override { Refresh(); }
    LRESULT Notify(const NMHDR& header) override;
    void SettingChanged() override;
    void Posted(UINT message) override {
        if (message == kWorkPosted)
            WorkPosted();
    }
    // Shows the results the workers have delivered.
    void WorkPosted();

    // Gathers every fact afresh: the quick ones at once, the others on
    // worker threads. Each value shows once it and those before it are
    // known; the first failing step ends the refresh, leaving the later
    // labels as they were, and is reported. A newer refresh replaces one
    // still running, whose workers stop before their next fact; a clock or
    // NetBIOS probe still running from it gives the newer one its result.
    // Button35, Copy and Save As... are disabled while a refresh runs, so
    // that no report mixes old values with new.
    void Refresh();
    bool Refreshing() const { return job_ != nullptr; }
    // Where a failed refresh is reported; "File not found" unless replaced.
    void OnRefreshFailed(std::function<void(std::exception_ptr)> report) { reportFailure_ = std::move(report); }

    void Button33Click();  // memory
    void Button34Click();  // processor
    void Button35Click();  // installed software
    void Button53Click();  // Copy: the report onto the clipboard
    void Button54Click();  // Save As...: the report into a file the user chooses

    // The report of the facts and the software as shown.
    std::string ReportText() const;

    // The text of the value label of `fact`.
    std::string LabelText(Fact fact) const;
    const InstalledSoftware& Software() const { return software_; }

private:
    void StartGathering();
    void StartSoftwareRead();
    void StartFactWorkers();
    // Shows what the workers delivered, in refresh order, as far as it goes.
    void ShowDelivered();
    void FinishRefresh();
    // The buttons a running refresh holds back.
    void EnableAfterRefresh(bool enable);
    void ShowComputerName();
    // Gathers and shows, on this thread, the facts of one refresh step.
    void ShowFactsGatheredBy(GatheredBy step);
    std::string ListBoxText() const;
    std::string TextOfLabel(int labelNumber) const;
    void SetValue(Fact fact, const std::string& text);
    void FitValues();
    void Lay(SIZE shortfall);
    void ReadSeparators();
    FactSources Sources() const;
    // The shared probe that gathers facts `gatheredBy` names, if any.
    SharedProbe* ProbeOf(GatheredBy gatheredBy) const;

    platform::SystemInfo& system_;
    platform::NetBios& netbios_;
    platform::Timing& timing_;
    platform::Registry& registry_;
    platform::Files& files_;
    platform::Clipboard& clipboard_;
    platform::FileDialog& fileDialog_;
    HWND sheet_ = nullptr;
    ui::Dpi dpi_;
    ui::Window listBox1_;
    InstalledSoftware software_;
    Separators separators_;
    std::function<void(std::exception_ptr)> reportFailure_;
    std::shared_ptr<RefreshJob> job_;  // the refresh running, if any
    bool softwareShown_ = false;       // whether job_'s software list is shown
    size_t nextFact_ = 0;              // the first fact of job_ not shown yet
    Workers workers_;
    // Kept alive by their runs after the page has gone.
    std::shared_ptr<SharedProbe> clockProbe_ = std::make_shared<SharedProbe>();
    std::shared_ptr<SharedProbe> netbiosProbe_ = std::make_shared<SharedProbe>();
};
