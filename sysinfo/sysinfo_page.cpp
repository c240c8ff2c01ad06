#include "sysinfo/sysinfo_page.h"

#include <algorithm>

#include "core/app_error.h"
#include "core/file_writer.h"
#include "ui/control_ids.h"
#include "ui/error_box.h"
#include "sysinfo/hardware_probes.h"
#include "sysinfo/registry_accessor.h"

namespace {

// One fact: its caption label and the value label beside it, as designed.
struct FactRow {
    int captionLabel;
    const char* caption;
    int y;
    int valueLabel;
    int valueX;
    const char* placeholder;
};

const FactRow kFacts[] = {
    {2, "Computername : ", 16, 3, 96, "Computername : "},
    {7, "Windows Username :", 32, 8, 120, "Windows Username :"},
    {11, "Windows Version : ", 48, 12, 112, "Computername : "},
    {13, "Processor : ", 64, 10, 72, "Label4"},
    {15, "Physical Memory : ", 80, 16, 104, "Physical Memory : "},
    {17, "Free Memory : ", 96, 18, 88, "Free Memory : "},
    {19, "Memory In Use : ", 112, 20, 96, "Memory In Use : "},
    {21, "NIC Macadress : ", 128, 22, 104, "NIC Macadress : "},
    {23, "CPU Speed : ", 144, 24, 88, "CPU Speed : "},
    {25, "Default Printer : ", 160, 26, 96, "Default Printer: "},
    {27, "System Language : ", 176, 28, 112, "System Language : "},
    {29, "Harddisk Serial Number (C:) :", 192, 30, 160, "Harddisk Serial Number  :"},
};

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
// Value labels reach up to the installed software list, 4 pixels short of it.
constexpr int kListGap = 4;

const char kVersionKey[] = "software\\microsoft\\windows\\currentversion";
const char kNtVersionKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

ui::Label CreateLabel(HWND sheet, const ui::Dpi& dpi, HFONT font, int number, const char* text, ui::Rect bounds) {
    // Clipped at the right like the design's labels, never wrapped out of sight.
    ui::Label label;
    label.Create({sheet, "STATIC", text, bounds, SS_LEFTNOWORDWRAP, 0, ids::Label(number), font}, dpi);
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

}  // namespace

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
        job_->cancelled = true;
}

void SysInfoPage::Create(Page, const PageContext& context) {
    sheet_ = context.sheet;
    for (const FactRow& fact : kFacts) {
        ui::Label caption =
            CreateLabel(sheet_, context.dpi, context.font, fact.captionLabel, fact.caption, {kCaptionX, fact.y, 0, 0});
        caption.FitToText();
        ui::Label value = CreateLabel(sheet_, context.dpi, context.font, fact.valueLabel, fact.placeholder,
                                      {fact.valueX, fact.y, 0, kLabelHeight});
        // A font wider than the design's would run the caption into its value:
        // the value then starts where the caption ends.
        const int captionRight = caption.BoundsOnParent().right;
        const int valueX = std::max(context.dpi.Scale(fact.valueX), captionRight);
        SetWindowPos(value.Handle(), nullptr, valueX, context.dpi.Scale(fact.y), 0, context.dpi.Scale(kLabelHeight),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    CreateLabel(sheet_, context.dpi, context.font, 4,
                "Installed Software :", {InstalledSoftware::kLeft, 16, 120, kLabelHeight});
    software_.Create(sheet_, context.dpi, context.font);
    dpi_ = context.dpi;
    FitValues();
    // Only this page uses the hidden list box, so it lives on this sheet.
    listBox1_ = ui::Window(ui::CreateControl({sheet_,
                                              "LISTBOX",
                                              "",
                                              {336, 168, 121, 97},
                                              WS_VSCROLL | LBS_NOTIFY,
                                              WS_EX_CLIENTEDGE,
                                              ids::ListBox1,
                                              context.font,
                                              false},
                                             context.dpi));
    for (const ButtonRow<SysInfoPage>& row : kButtons)
        CreatePageButton(context, row, *this);
    ReadSeparators();
}

LRESULT SysInfoPage::Notify(const NMHDR& header) {
    if (header.hwndFrom == software_.Handle() && header.code == LVN_ENDLABELEDITA)
        return software_.EndLabelEdit(reinterpret_cast<const NMLVDISPINFOA&>(header));
    return 0;
}

void SysInfoPage::SettingChanged() { ReadSeparators(); }

void SysInfoPage::ReadSeparators() {
    const std::string thousands = system_.UserLocaleInfo(LOCALE_STHOUSAND);
    const std::string decimal = system_.UserLocaleInfo(LOCALE_SDECIMAL);
    separators_.thousands = thousands.empty() ? '\0' : thousands[0];
    separators_.decimal = decimal.empty() ? '.' : decimal[0];
}

void SysInfoPage::Refresh() {
    SendMessageA(listBox1_.Handle(), LB_RESETCONTENT, 0, 0);
    ShowComputerName();
    Button33Click();
    Button34Click();
    StartGathering();
}

// Three workers: the installed software, the clock measurement (at its own
// raised priority), and the other facts in their order.
void SysInfoPage::StartGathering() {
    if (job_)
        job_->cancelled = true;
    workers_.JoinFinished();
    job_ = std::make_shared<RefreshJob>(sheet_);
    nextFact_ = 0;
    EnableWindow(GetDlgItem(sheet_, ids::Button(35)), FALSE);
    std::shared_ptr<RefreshJob> job = job_;
    if (software_.LastReadStillValid()) {
        // Nothing changed under the uninstall keys: the list comes from the last read.
        software_.ShowLastRead();
        nextFact_ = static_cast<size_t>(Fact::Software) + 1;
    } else {
        software_.WatchForChanges();
        workers_.Start([job, &registry = registry_] {
            job->Deliver(Fact::Software, {.software = ReadInstalledSoftware(registry, job->cancelled)});
        });
    }
    workers_.Start([job, &timing = timing_, separators = separators_] {
        job->Gather(Fact::CpuMhz, [&] { return FormatMhz(MeasureCpuMhz(timing), separators); });
    });
    workers_.Start([job, this] {
        job->Gather(Fact::UserName, [this] { return QueryUserName(); });
        job->Gather(Fact::NicAddress, [this] { return QueryNicAddress(netbios_); });
        job->Gather(Fact::DefaultPrinter, [this] { return QueryDefaultPrinter(); });
        job->Gather(Fact::WindowsVersion, [this] { return QueryWindowsVersion(); });
        job->Gather(Fact::Language, [this] { return QueryLanguageName(); });
        job->Gather(Fact::VolumeSerial, [this] { return QueryVolumeSerial('c'); });
    });
}

void SysInfoPage::WorkPosted() {
    while (job_ && nextFact_ < kFactCount) {
        const auto fact = static_cast<Fact>(nextFact_);
        std::optional<FactResult> result = job_->Take(fact);
        if (!result)
            return;
        ++nextFact_;
        try {
            ShowFact(fact, std::move(*result));
        } catch (...) {
            FinishRefresh();
            reportFailure_(std::current_exception());
            return;
        }
    }
    if (job_)
        FinishRefresh();
}

void SysInfoPage::ShowFact(Fact fact, FactResult result) {
    if (fact == Fact::Software)
        return software_.Show(std::move(result.software));
    if (result.failure)
        std::rethrow_exception(result.failure);
    // The value label of each fact after the software, in Fact's order.
    constexpr int kValueLabel[kFactCount] = {0, 8, 22, 24, 26, 12, 28, 30};
    SetValue(kValueLabel[static_cast<size_t>(fact)], result.text);
}

void SysInfoPage::FinishRefresh() {
    job_.reset();
    EnableWindow(GetDlgItem(sheet_, ids::Button(35)), TRUE);
}

void SysInfoPage::ShowComputerName() {
    const std::string name = system_.ComputerName();
    SendMessageA(listBox1_.Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SetValue(3, ListBoxText());
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

void SysInfoPage::Button33Click() {
    const platform::MemoryStatus memory = system_.Memory();
    SetValue(16, FormatMegabytes(static_cast<double>(memory.totalPhysical) / 1048576.0, separators_));
    SetValue(18, FormatKilobytesFree(static_cast<double>(memory.availablePhysical) / 1024.0, separators_));
    SetValue(20, FormatPercent(memory.loadPercent));
}

void SysInfoPage::Button34Click() { SetValue(10, ProcessorName(system_.ProcessorType(), system_.ProcessorBrand())); }

void SysInfoPage::Button35Click() { software_.Rebuild(); }

std::string SysInfoPage::QueryUserName() { return system_.UserName(); }

std::string SysInfoPage::QueryDefaultPrinter() { return system_.ProfileString("Windows", "device"); }

std::string SysInfoPage::QueryWindowsVersion() {
    RegistryAccessor registry(registry_, HKEY_LOCAL_MACHINE);
    // NT-family Windows keep no "Version" here, and refuse write access to
    // a standard user: read-only, with the product name as the fallback.
    if (registry.OpenKeyReadOnly(kVersionKey) && registry.ValueExists("Version"))
        return registry.ReadString("Version");
    registry.OpenKeyReadOnly(kNtVersionKey);
    return registry.ReadString("ProductName");
}

std::string SysInfoPage::QueryLanguageName() { return system_.LanguageName(system_.SystemDefaultLanguage()); }

std::string SysInfoPage::QueryVolumeSerial(char driveLetter) {
    const platform::VolumeInfo volume = system_.Volume(std::string(1, driveLetter) + ":\\");
    return FormatVolume(volume.label, volume.serial);
}

void SysInfoPage::SetValue(int labelNumber, const std::string& text) {
    SetWindowTextA(GetDlgItem(sheet_, ids::Label(labelNumber)), text.c_str());
    FitValues();
}

// Each value label reaches up to the installed software list. A value too
// long for that room (a long processor name, a wide font) moves the list and
// its caption right, keeping the list's right edge, until the value shows
// whole; the list keeps at least half its width.
void SysInfoPage::FitValues() {
    int widest = 0;
    for (const FactRow& fact : kFacts) {
        HWND value = GetDlgItem(sheet_, ids::Label(fact.valueLabel));
        widest = std::max(widest, static_cast<int>(ui::Window(value).BoundsOnParent().left) +
                                      ui::TextWidth(value, ui::Window(value).Text()));
    }
    const int listLeft = std::clamp(widest + dpi_.Scale(kListGap), dpi_.Scale(InstalledSoftware::kLeft),
                                    dpi_.Scale(InstalledSoftware::kLeft + InstalledSoftware::kWidth / 2));
    for (const FactRow& fact : kFacts) {
        HWND value = GetDlgItem(sheet_, ids::Label(fact.valueLabel));
        const RECT bounds = ui::Window(value).BoundsOnParent();
        SetWindowPos(value, nullptr, 0, 0, listLeft - dpi_.Scale(kListGap) - bounds.left, bounds.bottom - bounds.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    HWND caption = GetDlgItem(sheet_, ids::Label(4));
    const RECT captionBounds = ui::Window(caption).BoundsOnParent();
    SetWindowPos(caption, nullptr, listLeft, captionBounds.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    software_.MoveLeftEdge(listLeft);
}

std::string SysInfoPage::LabelText(int labelNumber) const {
    return ui::Window(GetDlgItem(sheet_, ids::Label(labelNumber))).Text();
}

std::string SysInfoPage::ReportText() const {
    std::string text;
    for (const FactRow& fact : kFacts)
        text += ReportLine(LabelText(fact.captionLabel), LabelText(fact.valueLabel));
    text += "\r\n" + LabelText(4) + "\r\n";
    for (const std::string& program : software_.Captions())
        text += program + "\r\n";
    return text;
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
