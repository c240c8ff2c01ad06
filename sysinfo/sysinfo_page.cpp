#include "sysinfo/sysinfo_page.h"

#include <algorithm>

#include "core/app_error.h"
#include "core/file_writer.h"
#include "ui/control_ids.h"
#include "ui/error_box.h"
#include "sysinfo/hardware_probes.h"
#include "sysinfo/registry_accessor.h"

namespace {

std::string QueryComputerName(const FactSources& from) { return from.system.ComputerName(); }

std::string QueryPhysicalMemory(const FactSources& from) {
    return FormatMegabytes(static_cast<double>(from.system.Memory().totalPhysical) / 1048576.0, from.separators);
}

std::string QueryFreeMemory(const FactSources& from) {
    return FormatKilobytesFree(static_cast<double>(from.system.Memory().availablePhysical) / 1024.0, from.separators);
}

std::string QueryMemoryInUse(const FactSources& from) { return FormatPercent(from.system.Memory().loadPercent); }

std::string QueryProcessor(const FactSources& from) {
    return ProcessorName(from.system.ProcessorType(), from.system.ProcessorBrand());
}

std::string QueryUserName(const FactSources& from) { return from.system.UserName(); }

std::string QueryAdapterAddress(const FactSources& from) { return QueryNicAddress(from.netbios); }

std::string QueryCpuSpeed(const FactSources& from) { return FormatMhz(MeasureCpuMhz(from.timing), from.separators); }

std::string QueryDefaultPrinter(const FactSources& from) { return from.system.ProfileString("Windows", "device"); }

const char kVersionKey[] = "software\\microsoft\\windows\\currentversion";
const char kNtVersionKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

std::string QueryWindowsVersion(const FactSources& from) {
    RegistryAccessor registry(from.registry, HKEY_LOCAL_MACHINE);
    // NT-family Windows keep no "Version" here, and refuse write access to
    // a standard user: read-only, with the product name as the fallback.
    if (registry.OpenKeyReadOnly(kVersionKey) && registry.ValueExists("Version"))
        return registry.ReadString("Version");
    registry.OpenKeyReadOnly(kNtVersionKey);
    return registry.ReadString("ProductName");
}

std::string QueryLanguageName(const FactSources& from) {
    return from.system.LanguageName(from.system.SystemDefaultLanguage());
}

std::string QueryVolumeSerial(const FactSources& from) {
    const platform::VolumeInfo volume = from.system.Volume("c:\\");
    return FormatVolume(volume.label, volume.serial);
}

// One fact: its caption and value labels as designed and where they stand,
// the value label's text until the first refresh, what gathers the value and
// who runs that.
struct FactRow {
    Fact fact;
    int captionLabel;
    const char* caption;
    int valueLabel;
    int top;
    int valueLeft;  // the caption starts at kCaptionX
    const char* placeholder;
    std::string (*gather)(const FactSources&);
    GatheredBy gatheredBy;
};

// In the order a refresh shows the facts, which is Fact's order.
constexpr FactRow kFacts[] = {
    {Fact::ComputerName, 2, "Computername : ", 3, 16, 96, "Computername : ", &QueryComputerName,
     GatheredBy::ShowComputerName},
    {Fact::PhysicalMemory, 15, "Physical Memory : ", 16, 80, 104, "Physical Memory : ", &QueryPhysicalMemory,
     GatheredBy::Button33Click},
    {Fact::FreeMemory, 17, "Free Memory : ", 18, 96, 88, "Free Memory : ", &QueryFreeMemory, GatheredBy::Button33Click},
    {Fact::MemoryInUse, 19, "Memory In Use : ", 20, 112, 96, "Memory In Use : ", &QueryMemoryInUse,
     GatheredBy::Button33Click},
    {Fact::Processor, 13, "Processor : ", 10, 64, 72, "Label4", &QueryProcessor, GatheredBy::Button34Click},
    {Fact::UserName, 7, "Windows Username :", 8, 32, 120, "Windows Username :", &QueryUserName, GatheredBy::OtherFacts},
    {Fact::NicAddress, 21, "NIC Macadress : ", 22, 128, 104, "NIC Macadress : ", &QueryAdapterAddress,
     GatheredBy::NetBiosProbe},
    {Fact::CpuSpeed, 23, "CPU Speed : ", 24, 144, 88, "CPU Speed : ", &QueryCpuSpeed, GatheredBy::ClockProbe},
    {Fact::DefaultPrinter, 25, "Default Printer : ", 26, 160, 96, "Default Printer: ", &QueryDefaultPrinter,
     GatheredBy::OtherFacts},
    {Fact::WindowsVersion, 11, "Windows Version : ", 12, 48, 112, "Computername : ", &QueryWindowsVersion,
     GatheredBy::OtherFacts},
    {Fact::Language, 27, "System Language : ", 28, 176, 112, "System Language : ", &QueryLanguageName,
     GatheredBy::OtherFacts},
    {Fact::VolumeSerial, 29, "Harddisk Serial Number (C:) :", 30, 192, 160,
     "Harddisk Serial Number  :", &QueryVolumeSerial, GatheredBy::OtherFacts},
};

constexpr bool OneRowPerFactInOrder() {
    for (size_t index = 0; index < std::size(kFacts); ++index) {
        if (kFacts[index].fact != static_cast<Fact>(index))
            return false;
    }
    return std::size(kFacts) == kFactCount;
}
static_assert(OneRowPerFactInOrder(), "kFacts holds one row per Fact, in Fact's order");

const FactRow& RowOf(Fact fact) { return kFacts[static_cast<size_t>(fact)]; }

bool GatheredOnWindowThread(const FactRow& row) {
    return row.gatheredBy == GatheredBy::ShowComputerName || row.gatheredBy == GatheredBy::Button33Click ||
           row.gatheredBy == GatheredBy::Button34Click;
}

// "Installed Software :" above the list.
constexpr int kSoftwareCaptionLabel = 4;
constexpr char kSoftwareCaption[] = "Installed Software :";

// The buttons under the installed software list, flush with its right edge,
// which stays where it is when the list widens its left margin; and three
// hidden ones that carry steps of the refresh.
const ButtonRow<SysInfoPage> kButtons[] = {
    {.button = 53, .caption = "Copy", .bounds = {599, 209, 89, 25}, .onClick = &SysInfoPage::Button53Click},
    {.button = 54, .caption = "Save As...", .bounds = {696, 209, 89, 25}, .onClick = &SysInfoPage::Button54Click},
    {.button = 33, .caption = "Button33", .onClick = &SysInfoPage::Button33Click, .visible = false},
    {.button = 34, .caption = "Button34", .onClick = &SysInfoPage::Button34Click, .visible = false},
    {.button = 35, .caption = "Button35", .onClick = &SysInfoPage::Button35Click, .visible = false},
};

constexpr int kCaptionX = 16;
constexpr int kLabelHeight = 13;
constexpr ui::Rect kSoftwareCaptionBounds{InstalledSoftware::kLeft, 16, 120, kLabelHeight};
constexpr ui::Rect kListBox1{336, 168, 121, 97};
// Value labels reach up to the installed software list, 4 pixels short of it.
constexpr int kListGap = 4;

ui::Label CreateLabel(HWND sheet, const ui::Dpi& dpi, HFONT font, int number, const char* text, ui::Rect bounds) {
    // Clipped at the right like the design's labels, never wrapped out of sight.
    ui::Label label;
    label.Create({.parent = sheet,
                  .text = text,
                  .bounds = bounds,
                  .style = SS_LEFTNOWORDWRAP,
                  .id = ids::Label(number),
                  .font = font},
                 dpi);
    return label;
}

// "Caption value": one blank between them however the caption ends; a value's
// closing line break (the computer name has one) does not end the line twice.
std::string ReportLine(const std::string& caption, const std::string& value) {
    const size_t captionEnd = caption.find_last_not_of(' ');
    const size_t valueEnd = value.find_last_not_of("\r\n");
    return caption.substr(0, captionEnd == std::string::npos ? 0 : captionEnd + 1) + " " +
           value.substr(0, valueEnd == std::string::npos ? 0 : valueEnd + 1) + "\r\n";
}

// The buttons a running refresh holds back: what they act on is not whole yet.
constexpr int kHeldDuringRefresh[] = {35, 53, 54};

}  // namespace

Separators UserSeparators(platform::SystemInfo& system) {
    const std::string thousands = system.UserLocaleInfo(LOCALE_STHOUSAND);
    const std::string decimal = system.UserLocaleInfo(LOCALE_SDECIMAL);
    return {.thousands = thousands.empty() ? '\0' : thousands[0], .decimal = decimal.empty() ? '.' : decimal[0]};
}

std::array<FactResult, kFactCount> GatherFacts(const FactSources& from) {
    std::array<FactResult, kFactCount> facts;
    for (const FactRow& row : kFacts)
        facts[static_cast<size_t>(row.fact)] = Gather([&] { return row.gather(from); });
    return facts;
}

std::vector<Fact> FactsTopToBottom() {
    std::vector<Fact> facts;
    for (const FactRow& row : kFacts)
        facts.push_back(row.fact);
    std::stable_sort(facts.begin(), facts.end(),
                     [](Fact first, Fact second) { return RowOf(first).top < RowOf(second).top; });
    return facts;
}

std::string FactCaption(Fact fact) { return RowOf(fact).caption; }

std::string ReportText(const std::array<std::string, kFactCount>& values, const std::vector<std::string>& programs) {
    std::string text;
    for (const Fact fact : FactsTopToBottom())
        text += ReportLine(FactCaption(fact), values[static_cast<size_t>(fact)]);
    text += "\r\n" + std::string(kSoftwareCaption) + "\r\n";
    for (const std::string& program : programs)
        text += program + "\r\n";
    return text;
}

SysInfoPage::SysInfoPage(platform::SystemInfo& system, platform::NetBios& netbios, platform::Timing& timing,
                         platform::Registry& registry, platform::Files& files, platform::Clipboard& clipboard,
                         platform::FileDialog& fileDialog)
    : system_(system),
      netbios_(netbios),
      timing_(timing),
      registry_(registry),
      files_(files),
      clipboard_(clipboard),
      fileDialog_(fileDialog),
      software_(registry),
      reportFailure_([](std::exception_ptr) { ShowFileNotFound(); }) {}

SysInfoPage::~SysInfoPage() {
    if (job_)
        job_->Cancel();
}

void SysInfoPage::Create(Page, const PageContext& context) {
    sheet_ = context.sheet;
    dpi_ = context.dpi;
    for (const FactRow& row : kFacts) {
        CreateLabel(sheet_, dpi_, context.font, row.captionLabel, row.caption, {kCaptionX, row.top, 0, 0});
        CreateLabel(sheet_, dpi_, context.font, row.valueLabel, row.placeholder,
                    {row.valueLeft, row.top, 0, kLabelHeight});
    }
    CreateLabel(sheet_, dpi_, context.font, kSoftwareCaptionLabel, kSoftwareCaption, kSoftwareCaptionBounds);
    software_.Create(sheet_, dpi_, context.font);
    // Only this page uses the hidden list box, so it lives on this sheet.
    listBox1_ = ui::Window(ui::CreateControl({.parent = sheet_,
                                              .className = "LISTBOX",
                                              .bounds = kListBox1,
                                              .style = WS_VSCROLL | LBS_NOTIFY,
                                              .exStyle = WS_EX_CLIENTEDGE,
                                              .id = ids::ListBox(1),
                                              .font = context.font,
                                              .visible = false},
                                             dpi_));
    for (const ButtonRow<SysInfoPage>& row : kButtons)
        CreatePageButton(context, row, *this);
    Lay({});
    ReadSeparators();
}

void SysInfoPage::ChangeDpi(Page, const PageContext& context) {
    dpi_ = context.dpi;
    // Every control of the page shows in the window's font.
    for (HWND child = GetWindow(sheet_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        ui::Window(child).SetFont(context.font);
    software_.ChangeDpi(dpi_, context.font);
    Lay({});
}

void SysInfoPage::Resize(int width, int height) {
    if (listBox1_.Handle())
        Lay(SheetShortfall(width, height, dpi_));
}

// The design's places at the page's DPI, each caption as wide as its text;
// the software list and the buttons beside its right edge give up what the
// sheet lacks of its design width.
void SysInfoPage::Lay(SIZE shortfall) {
    for (const FactRow& row : kFacts) {
        ui::Label caption(GetDlgItem(sheet_, ids::Label(row.captionLabel)));
        caption.Place({kCaptionX, row.top, 0, 0}, dpi_);
        caption.FitToText();
        // A font wider than the design's would run the caption into its value:
        // the value then starts where the caption ends.
        const int valueX = std::max(dpi_.Scale(row.valueLeft), static_cast<int>(caption.BoundsOnParent().right));
        SetWindowPos(GetDlgItem(sheet_, ids::Label(row.valueLabel)), nullptr, valueX, dpi_.Scale(row.top), 0,
                     dpi_.Scale(kLabelHeight), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ui::Window(GetDlgItem(sheet_, ids::Label(kSoftwareCaptionLabel))).Place(kSoftwareCaptionBounds, dpi_);
    software_.Place(dpi_, shortfall.cx);
    listBox1_.Place(kListBox1, dpi_);
    for (const ButtonRow<SysInfoPage>& row : kButtons) {
        RECT bounds = ui::Scaled(row.bounds, dpi_);
        OffsetRect(&bounds, -shortfall.cx, 0);
        ui::Window(GetDlgItem(sheet_, ids::Button(row.button))).SetBounds(bounds);
    }
    FitValues();
}

LRESULT SysInfoPage::Notify(const NMHDR& header) {
    if (header.hwndFrom != software_.Handle())
        return 0;
    if (header.code == LVN_ENDLABELEDITA)
        return software_.EndLabelEdit(reinterpret_cast<const NMLVDISPINFOA&>(header));
    // The list view hands in its own item to fill.
    if (header.code == LVN_GETDISPINFOA)
        software_.GiveCaption(const_cast<NMLVDISPINFOA&>(reinterpret_cast<const NMLVDISPINFOA&>(header)).item);
    return 0;
}

void SysInfoPage::SettingChanged() { ReadSeparators(); }

void SysInfoPage::ReadSeparators() { separators_ = UserSeparators(system_); }

FactSources SysInfoPage::Sources() const { return {system_, netbios_, timing_, registry_, separators_}; }

void SysInfoPage::Refresh() {
    SendMessageA(listBox1_.Handle(), LB_RESETCONTENT, 0, 0);
    ShowComputerName();
    Button33Click();
    Button34Click();
    StartGathering();
}

// The workers hold what they use themselves, never the page, which may go
// before they end.
void SysInfoPage::StartGathering() {
    if (job_)
        job_->Cancel();
    job_ = std::make_shared<RefreshJob>(sheet_);
    softwareShown_ = false;
    nextFact_ = 0;
    EnableAfterRefresh(false);
    StartSoftwareRead();
    StartFactWorkers();
}

void SysInfoPage::StartSoftwareRead() {
    if (software_.LastReadStillValid()) {
        // Nothing changed under the uninstall keys: the list comes from the last read.
        software_.ShowLastRead();
        softwareShown_ = true;
        return;
    }
    software_.WatchForChanges();
    workers_.Start([job = job_, &registry = registry_] {
        job->DeliverSoftware(ReadInstalledSoftware(registry, job->Cancelled()));
    });
}

// The probes' facts come from their shared runs; the other facts from one
// worker, in order, which stops before the next fact once its refresh is
// replaced.
void SysInfoPage::StartFactWorkers() {
    const FactSources from = Sources();
    for (const FactRow& row : kFacts) {
        const auto gather = [gather = row.gather, from] { return gather(from); };
        if (SharedProbe* probe = ProbeOf(row.gatheredBy))
            probe->Ask(workers_, gather, job_, row.fact);
    }
    workers_.Start([job = job_, from] {
        for (const FactRow& row : kFacts) {
            if (job->Cancelled())
                return;
            if (row.gatheredBy == GatheredBy::OtherFacts)
                job->Deliver(row.fact, Gather([&] { return row.gather(from); }));
        }
    });
}

SharedProbe* SysInfoPage::ProbeOf(GatheredBy gatheredBy) const {
    if (gatheredBy == GatheredBy::NetBiosProbe)
        return netbiosProbe_.get();
    if (gatheredBy == GatheredBy::ClockProbe)
        return clockProbe_.get();
    return nullptr;
}

void SysInfoPage::WorkPosted() {
    if (!job_)
        return;
    try {
        ShowDelivered();
    } catch (...) {
        FinishRefresh();
        reportFailure_(std::current_exception());
    }
}

// Software first, then the workers' facts in refresh order, up to the first
// one not delivered yet; once all are shown the refresh is over.
void SysInfoPage::ShowDelivered() {
    if (!softwareShown_) {
        std::optional<SoftwareRead> read = job_->TakeSoftware();
        if (!read)
            return;
        softwareShown_ = true;
        software_.Show(std::move(*read));
    }
    for (; nextFact_ < kFactCount; ++nextFact_) {
        const FactRow& row = kFacts[nextFact_];
        if (GatheredOnWindowThread(row))
            continue;
        std::optional<FactResult> result = job_->Take(row.fact);
        if (!result)
            return;
        if (result->failure)
            std::rethrow_exception(result->failure);
        SetValue(row.fact, result->text);
    }
    FinishRefresh();
}

// Also after a failure: the workers still going stop before their next fact.
void SysInfoPage::FinishRefresh() {
    job_->Cancel();
    job_.reset();
    EnableAfterRefresh(true);
}

void SysInfoPage::EnableAfterRefresh(bool enable) {
    for (const int button : kHeldDuringRefresh)
        EnableWindow(GetDlgItem(sheet_, ids::Button(button)), enable ? TRUE : FALSE);
}

void SysInfoPage::ShowComputerName() {
    const std::string name = RowOf(Fact::ComputerName).gather(Sources());
    SendMessageA(listBox1_.Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SetValue(Fact::ComputerName, ListBoxText());
}

std::string SysInfoPage::ListBoxText() const {
    std::string text;
    const auto count = static_cast<int>(SendMessageA(listBox1_.Handle(), LB_GETCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        const auto length = SendMessageA(listBox1_.Handle(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
        std::string line(static_cast<size_t>(length < 0 ? 0 : length) + 1, '\0');
        SendMessageA(listBox1_.Handle(), LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(line.data()));
        line.resize(line.size() - 1);
        text += line + "\r\n";
    }
    return text;
}

void SysInfoPage::ShowFactsGatheredBy(GatheredBy step) {
    for (const FactRow& row : kFacts) {
        if (row.gatheredBy == step)
            SetValue(row.fact, row.gather(Sources()));
    }
}

void SysInfoPage::Button33Click() { ShowFactsGatheredBy(GatheredBy::Button33Click); }

void SysInfoPage::Button34Click() { ShowFactsGatheredBy(GatheredBy::Button34Click); }

void SysInfoPage::Button35Click() { software_.Rebuild(); }

void SysInfoPage::SetValue(Fact fact, const std::string& text) {
    SetWindowTextA(GetDlgItem(sheet_, ids::Label(RowOf(fact).valueLabel)), text.c_str());
    FitValues();
}

// Each value label reaches up to the installed software list. A value too
// long for that room (a long processor name, a wide font) moves the list and
// its caption right, keeping the list's right edge, until the value shows
// whole; the list keeps at least half its width.
void SysInfoPage::FitValues() {
    int widest = 0;
    for (const FactRow& row : kFacts) {
        HWND value = GetDlgItem(sheet_, ids::Label(row.valueLabel));
        widest = std::max(widest, static_cast<int>(ui::Window(value).BoundsOnParent().left) +
                                      ui::TextWidth(value, ui::Window(value).Text()));
    }
    const int listLeft = std::clamp(widest + dpi_.Scale(kListGap), dpi_.Scale(InstalledSoftware::kLeft),
                                    dpi_.Scale(InstalledSoftware::kLeft + InstalledSoftware::kWidth / 2));
    for (const FactRow& row : kFacts) {
        HWND value = GetDlgItem(sheet_, ids::Label(row.valueLabel));
        const RECT bounds = ui::Window(value).BoundsOnParent();
        SetWindowPos(value, nullptr, 0, 0, listLeft - dpi_.Scale(kListGap) - bounds.left, bounds.bottom - bounds.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    HWND caption = GetDlgItem(sheet_, ids::Label(kSoftwareCaptionLabel));
    const RECT captionBounds = ui::Window(caption).BoundsOnParent();
    SetWindowPos(caption, nullptr, listLeft, captionBounds.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    software_.MoveLeftEdge(listLeft);
}

std::string SysInfoPage::TextOfLabel(int labelNumber) const {
    return ui::Window(GetDlgItem(sheet_, ids::Label(labelNumber))).Text();
}

std::string SysInfoPage::LabelText(Fact fact) const { return TextOfLabel(RowOf(fact).valueLabel); }

std::string SysInfoPage::ReportText() const {
    std::array<std::string, kFactCount> values;
    for (const FactRow& row : kFacts)
        values[static_cast<size_t>(row.fact)] = TextOfLabel(row.valueLabel);
    return ::ReportText(values, software_.Captions());
}

void SysInfoPage::Button53Click() {
    if (!clipboard_.SetText(GetAncestor(sheet_, GA_ROOT), ReportText()))
        throw AppError("Cannot open the clipboard");
}

void SysInfoPage::Button54Click() {
    const auto path =
        fileDialog_.AskSavePath(GetAncestor(sheet_, GA_ROOT), system_.ComputerName() + " system info.txt");
    if (path)
        WriteFileText(files_, *path, ReportText());
}
