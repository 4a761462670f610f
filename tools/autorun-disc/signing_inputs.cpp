#include "signing_inputs.h"

#include <cstdlib>

#include "authenticode.h"
#include "branding_inputs.h"
#include "disc_contents.h"
#include "file_reading.h"
#include "launcher_signing.h"
#include "text_encoding.h"

namespace autorun_disc {
namespace {

using authoring::DiscError;

constexpr char kPasswordVariable[] = "AUTORUN_SIGN_PASSWORD";

// The first line of the file, so that an editor's final line end is no part of the password.
std::string PasswordFromFile(const std::string& path) {
    const auto bytes = autorun::ReadWholeFile(path);
    if (!bytes) throw DiscError(path + ": cannot read the password file (missing, or not a file)");
    std::string text(bytes->begin(), bytes->end());
    text = text.substr(0, text.find('\n'));
    if (!text.empty() && text.back() == '\r') text.pop_back();
    return text;
}

std::string Password(const Signing& signing) {
    if (signing.passwordFile) return PasswordFromFile(*signing.passwordFile);
    if (const char* password = std::getenv(kPasswordVariable)) return password;
    throw DiscError(*signing.pfx + ": no password: give --sign-password-file FILE or set " +
                    kPasswordVariable + " (empty for a key without one)");
}

// An unchanged launcher keeps its signature; one that no longer holds is worth a word before it ships.
void WarnOfBrokenSignature(const Branding& options, const authoring::Bytes& launcher,
                           std::ostream& warnings) {
    const authoring::LauncherSignature signature = authoring::ReadLauncherSignature(launcher);
    if (signature.state == authoring::LauncherSignature::State::kBroken)
        warnings << "autorun-disc: warning: " << authoring::PathText(LauncherPath(options))
                 << ": its signature does not hold (" << signature.problem
                 << "): Windows treats it as damaged; sign it again\n";
}

}  // namespace

authoring::Bytes FinishedLauncher(const Arguments& arguments, std::ostream& warnings) {
    const Signing& signing = arguments.signing;
    if (signing.pfx) authoring::RequireSigningSupport();
    const authoring::SigningKey key =
        signing.pfx ? authoring::SigningKey{*signing.pfx, Password(signing), signing.timestampUrl}
                    : authoring::SigningKey{};
    authoring::Bytes launcher = BrandedLauncher(arguments.branding, warnings);
    if (signing.pfx) return authoring::SignLauncher(launcher, key);
    if (!arguments.branding.Any()) WarnOfBrokenSignature(arguments.branding, launcher, warnings);
    return launcher;
}

}  // namespace autorun_disc
