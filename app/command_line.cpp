#include "app/command_line.h"

#include <windows.h>

#include <array>
#include <atomic>
#include <string_view>

#include "core/file_writer.h"
#include "core/json.h"
#include "core/text_file.h"
#include "sysfiles/sysfile_pages.h"
#include "sysinfo/installed_software.h"
#include "sysinfo/sysinfo_page.h"
#include "tweaks/tweaks_page.h"
#include "ui/tab_sheet.h"

namespace {

// "-" as FILE: standard output.
constexpr char kStandardOutput[] = "-";

const char kUsage[] =
    "Usage: qorsysed.exe [switch]\r\n"
    "Without a switch the window opens. With one, the program does that job, shows no window and ends.\r\n"
    "\r\n"
    "  /report FILE  writes the SYSTEM INFO report, the text \"Copy\" gives, to FILE\r\n"
    "  /json FILE    writes the same facts and the installed programs as JSON in UTF-8 to FILE\r\n"
    "                (FILE - is standard output)\r\n"
    "  /backup       backs up each of the six system files that exists and that the editor holds\r\n"
    "                whole, as \"Back Up\" does; a backup is never replaced by less than its file\r\n"
    "  /apply        applies the remembered shell choices (c:\\qor) as every start does, without\r\n"
    "                the first-run check\r\n"
    "  /?            shows this\r\n"
    "\r\n"
    "Exit code: 0 all done, 1 some step failed (one line each on standard error), 2 bad usage.\r\n";

// What a job tells, and whether any step failed.
class Job {
public:
    explicit Job(platform::Console& console) : console_(console) {}
    void Print(std::string_view text) { console_.Write(platform::StandardStream::Output, text, CP_ACP); }
    void Tell(const std::string& line) { Print(line + "\r\n"); }
    void Fail(const std::string& line) {
        console_.Write(platform::StandardStream::Error, line + "\r\n", CP_ACP);
        failed_ = true;
    }
    // Writes `bytes` (text in `codePage`) to `file` with the program's writer,
    // or to standard output.
    void Write(const std::string& file, const std::string& bytes, UINT codePage, const char* what) {
        if (file == kStandardOutput) {
            if (!console_.Write(platform::StandardStream::Output, bytes, codePage))
                Fail("standard output: cannot be written");
            return;
        }
        try {
            WriteFileText(platform::RealFiles(), file, bytes);
            Tell(file + ": " + what + " written");
        } catch (const std::exception& error) {
            Fail(error.what());
        }
    }
    int ExitCode() const { return failed_ ? kStepFailed : kAllDone; }

private:
    platform::Console& console_;
    bool failed_ = false;
};

// The facts and the installed software, gathered as SYSTEM INFO gathers them.
struct Gathered {
    std::array<FactResult, kFactCount> facts;
    SoftwareRead software;
};

// Tells the failure of `step`, if it failed.
void TellFailure(Job& job, const std::exception_ptr& failure, const std::string& step) {
    if (!failure)
        return;
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& error) {
        job.Fail(step + error.what());
    } catch (...) {
        job.Fail(step + "Unknown error");
    }
}

Gathered GatherSystemInfo(Job& job) {
    platform::SystemInfo& system = platform::RealSystemInfo();
    const FactSources from{system, platform::RealNetBios(), platform::RealTiming(), platform::RealRegistry(),
                           UserSeparators(system)};
    const std::atomic<bool> notCancelled{false};
    Gathered gathered{GatherFacts(from), ReadInstalledSoftware(platform::RealRegistry(), notCancelled)};
    for (const Fact fact : FactsTopToBottom())
        TellFailure(job, gathered.facts[static_cast<size_t>(fact)].failure, FactCaption(fact));
    TellFailure(job, gathered.software.failure, "Installed Software : ");
    return gathered;
}

// `text` without the blanks and line breaks around it.
std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \r\n");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \r\n") - first + 1);
}

// A fact's name: its caption without the colon, "Computername".
std::string FactName(Fact fact) {
    const std::string caption = FactCaption(fact);
    return std::string(Trimmed(caption.substr(0, caption.find_last_of(':'))));
}

std::string JsonOf(const Gathered& gathered) {
    std::string json = "{\n  \"facts\": {";
    const char* separator = "\n";
    for (const Fact fact : FactsTopToBottom()) {
        const FactResult& result = gathered.facts[static_cast<size_t>(fact)];
        const std::string value = result.failure ? "null" : JsonString(Utf8From(Trimmed(result.text), CP_ACP));
        json += separator + std::string("    ") + JsonString(Utf8From(FactName(fact), CP_ACP)) + ": " + value;
        separator = ",\n";
    }
    json += "\n  },\n  \"installedSoftware\": [";
    separator = "\n";
    for (const InstalledProgram& program : gathered.software.programs) {
        json += separator + std::string("    {\"name\": ") + JsonString(Utf8From(program.caption, CP_ACP)) +
                ", \"recordedIn\": " + JsonString(program.recordedIn) + "}";
        separator = ",\n";
    }
    return json + (gathered.software.programs.empty() ? "" : "\n  ") + "]\n}\n";
}

int WriteReport(Job& job, const std::string& file) {
    const Gathered gathered = GatherSystemInfo(job);
    std::array<std::string, kFactCount> values;
    for (size_t index = 0; index < kFactCount; ++index)
        values[index] = gathered.facts[index].text;
    std::vector<std::string> programs;
    for (const InstalledProgram& program : gathered.software.programs)
        programs.push_back(program.caption);
    job.Write(file, ReportText(values, programs), CP_ACP, "report");
    return job.ExitCode();
}

int WriteJson(Job& job, const std::string& file) {
    job.Write(file, JsonOf(GatherSystemInfo(job)), CP_UTF8, "JSON");
    return job.ExitCode();
}

int BackUpFiles(Job& job, const std::string&) {
    for (const FilePageRow* row : FilePageRows()) {
        const UnaskedBackUp backUp = BackUpUnasked(platform::RealFiles(), *row);
        switch (backUp.outcome) {
            case UnaskedBackUp::Outcome::Written:
                job.Tell(std::string(row->path) + ": backed up to " + row->backUpPath);
                break;
            case UnaskedBackUp::Outcome::NoFile:
                job.Tell(std::string(row->path) + ": not found, nothing to back up");
                break;
            case UnaskedBackUp::Outcome::Refused:
                job.Fail(std::string(row->path) + ": not backed up: " + backUp.reason);
                break;
        }
    }
    return job.ExitCode();
}

// A hidden window for the page's controls: the state holders read and write
// the state files.
class HiddenWindow {
public:
    HiddenWindow()
        : window_(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleA(nullptr),
                                  nullptr)) {}
    ~HiddenWindow() {
        if (window_)
            DestroyWindow(window_);
    }
    HiddenWindow(const HiddenWindow&) = delete;
    HiddenWindow& operator=(const HiddenWindow&) = delete;
    HWND Handle() const { return window_; }

private:
    HWND window_;
};

int ApplyRememberedChoices(Job& job, const std::string&) {
    TweaksPage tweaks;
    HiddenWindow window;
    ui::TabSheet sheet;
    ui::Hints hints;
    try {
        sheet.Create(window.Handle(), 1, false, tweaks);
        tweaks.Create(Page::RegistrySettings, sheet.Context(ui::Dpi(), nullptr, &hints));
        tweaks.RestoreToggles();
        job.Tell("The remembered shell choices are applied.");
    } catch (const LoadError& error) {
        job.Fail(error.what() + std::string(error.FileMissing() ? ": it does not exist" : ""));
    } catch (const std::exception& error) {
        job.Fail(error.what());
    }
    return job.ExitCode();
}

int ShowUsage(Job& job, const std::string&) {
    job.Print(kUsage);
    return kAllDone;
}

// One switch: its name, whether FILE follows it, and its job.
struct SwitchRow {
    const char* name;
    bool takesFile;
    int (*run)(Job& job, const std::string& file);
};

const SwitchRow kSwitches[] = {
    {"/report", true, &WriteReport},  {"/json", true, &WriteJson},
    {"/backup", false, &BackUpFiles}, {"/apply", false, &ApplyRememberedChoices},
    {"/?", false, &ShowUsage},
};

const SwitchRow* FindSwitch(const std::string& name) {
    for (const SwitchRow& row : kSwitches)
        if (lstrcmpiA(row.name, name.c_str()) == 0)
            return &row;
    return nullptr;
}

}  // namespace

std::optional<int> RunCommandLine(const std::vector<std::string>& arguments, platform::Console& console) {
    if (arguments.empty())
        return std::nullopt;
    Job job(console);
    const SwitchRow* row = FindSwitch(arguments[0]);
    if (!row || arguments.size() != (row->takesFile ? 2u : 1u)) {
        job.Fail("Not understood: " + arguments[0] + (arguments.size() > 1 ? " ..." : ""));
        console.Write(platform::StandardStream::Error, kUsage, CP_ACP);
        return kBadUsage;
    }
    // Nothing thrown ends the program without its exit code.
    try {
        return row->run(job, row->takesFile ? arguments[1] : std::string());
    } catch (...) {
        TellFailure(job, std::current_exception(), std::string(row->name) + ": ");
        return kStepFailed;
    }
}
