#pragma once
// Explorer policies, switched by a registry import file that the shell hands
// to the registry editor: nothing of the program's own is recorded.
#include <string>
#include <vector>

#include "platform/registry.h"

constexpr char kPolicyFilePath[] = "c:\\test.reg";
constexpr char kPolicyFileDirectory[] = "c:\\";
// The policy file's security when an administrator writes it, instead of what
// drive C's root passes on: Administrators and SYSTEM may change it, users may
// only read it.
constexpr char kPolicyFileSecurity[] = "D:P(A;;FA;;;BA)(A;;FA;;;SY)(A;;FR;;;BU)";
// A policy's data: the Hide buttons switch it on, the Show buttons off.
constexpr char kPolicyOn[] = "00000001";
constexpr char kPolicyOff[] = "00000000";

// "NoRun" with "00000001" gives "\"NoRun\"=dword:00000001".
std::string PolicyValueLine(const std::string& valueName, const std::string& data);
// The import file's four lines, without their line breaks.
std::vector<std::string> PolicyFileLines(const std::string& valueLine);

// The policy's value as the registry holds it now, in the machine's key and
// the user's, each named: "1 (HKLM)", "1 (HKLM), 0 (HKCU)"; a number as
// such, "not set" when neither key has it.
std::string PolicyValueText(platform::Registry& registry, const std::string& valueName);
