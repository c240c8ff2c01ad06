#pragma once
// The CONTROL PANEL page: a list of Control Panel functions to start.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/shell.h"
#include "platform/sysinfo.h"
#include "ui/controls.h"
#include "ui/page.h"

// How an item of the launch table starts what it names. Whatever starts
// does so in the system folder.
enum class Launch {
    Applet,   // a Control Panel applet of the system folder through the system's rundll32.exe
    Folder,   // a shell "open" of a folder of the Windows folder
    Program,  // a shell "open" of a program in the Windows or system folder
    Rundll,   // the 16-bit "rundll" of the Windows folder, else the system's rundll32.exe
    DialUp,   // dial-up networking of the running Windows family
};

struct LaunchRow {
    const char* caption;
    int image;  // index in ImageList2, also the command key
    Launch launch;
    const char* target;  // the applet, folder or program
    const char* parameters;
    int showCommand;  // SW_...
};

constexpr int kLaunchImageCount = 31;

class LauncherPage : public PageHandler {
public:
    explicit LauncherPage(platform::Shell& shell = platform::RealShell(),
                          platform::SystemInfo& system = platform::RealSystemInfo(),
                          platform::Files& files = platform::RealFiles())
        : shell_(shell), system_(system), files_(files) {}
    LauncherPage(const LauncherPage&) = delete;
    LauncherPage& operator=(const LauncherPage&) = delete;

    void Create(Page page, const PageContext& context) override;
    LRESULT Notify(const NMHDR& header) override;
    void ChangeDpi(Page page, const PageContext& context) override;
    void Resize(int width, int height) override;

    void ListView1DblClick();
    // `applet` is the file name of an applet of the system folder, with
    // rundll32's ",@1"-style suffix if any. Nothing starts when the system
    // folder has no such file.
    void RunControlApplet(const std::string& applet);
    // Gives the item at `index` a new caption; it keeps its command and the list sorts again.
    void RenameItem(int index, const std::string& caption);

private:
    void Run(const LaunchRow& row);
    void OpenFolder(const LaunchRow& row);
    void OpenProgram(const LaunchRow& row);
    void OpenRundll(const LaunchRow& row);
    void OpenDialUp();
    bool Opened(const std::string& file, const LaunchRow& row, const std::string& directory);
    void StartRundll32(const std::string& arguments, UINT showCommand);
    void SortByCaption();

    platform::Shell& shell_;
    platform::SystemInfo& system_;
    platform::Files& files_;
    ui::ListView listView1_;
    ui::ImageList imageList2_;
    // The captions by image index, which each item carries as its number.
    std::vector<std::string> captions_;
};
