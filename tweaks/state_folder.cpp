#include "tweaks/state_folder.h"

#include "core/text_file.h"
#include "tweaks/state_files.h"

namespace {

// The folder itself, held; `refusal` says why it cannot be opened, but
// stays empty when it is not there.
HANDLE OpenFolder(platform::Files& files, std::string& refusal) {
    DWORD error = ERROR_SUCCESS;
    const HANDLE folder = files.OpenItself(kStateDirectory, platform::OpenAs::HeldFolder, error);
    if (folder == INVALID_HANDLE_VALUE)
        refusal = OpenFailureReason(error);
    return folder;
}

// Any other user could have made the folder, or been given it, and would
// then decide who may change what in it.
std::string OwnerRefusal(platform::Security& security, const std::string& owner) {
    if (owner.empty())
        return "its owner cannot be read";
    if (owner == platform::kAdministratorsSid || owner == platform::kSystemSid || owner == security.CurrentUser())
        return "";
    return "it belongs to " + security.AccountName(owner);
}

}  // namespace

StateFolder::StateFolder(platform::Files& files, platform::Security& security)
    : handle_(files, OpenFolder(files, refusal_)) {
    if (handle_.IsOpen())
        Check(files, security);
}

void StateFolder::Check(platform::Files& files, platform::Security& security) {
    platform::FileFacts facts;
    if (!files.Describe(handle_.Get(), facts))
        refusal_ = kUnknownKind;
    else if (facts.attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        refusal_ = kLinkRefused;
    else if (security.IsElevated() && (facts.attributes & FILE_ATTRIBUTE_DIRECTORY))
        refusal_ = OwnerRefusal(security, security.OwnerOf(handle_.Get()));
    if (!refusal_.empty() || !(facts.attributes & FILE_ATTRIBUTE_DIRECTORY))
        handle_.Close();
}
