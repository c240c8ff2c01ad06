#pragma once
// Explorer policies, switched by a registry import file that the shell hands
// to the registry editor: nothing of the program's own is recorded.
#include <string>
#include <vector>

constexpr char kPolicyFilePath[] = "c:\\test.reg";
constexpr char kPolicyFileDirectory[] = "c:\\";

struct PolicyRow {
    int button;
    const char* valueName;
    const char* data;
};

constexpr PolicyRow kPolicies[] = {
    {21, "NoDesktop", "00000001"},        {22, "NoDesktop", "00000000"},
    {27, "NoRun", "00000001"},            {28, "NoRun", "00000000"},
    {29, "NoFind", "00000001"},           {30, "NoFind", "00000000"},
    {31, "NoRecentDocsMenu", "00000001"}, {32, "NoRecentDocsMenu", "00000000"},
};

const PolicyRow& PolicyOf(int button);

// "NoRun" with "00000001" gives "\"NoRun\"=dword:00000001".
std::string PolicyValueLine(const PolicyRow& policy);
// The import file's four lines, without their line breaks.
std::vector<std::string> PolicyFileLines(const std::string& valueLine);
