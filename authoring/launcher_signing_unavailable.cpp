// The Windows build signs nothing: Windows has its own signing tool, which signs the branded launcher.
#include "disc_contents.h"
#include "launcher_signing.h"

namespace authoring {

void RequireSigningSupport() {
    throw DiscError(
        "--sign: this build does not sign; sign the branded launcher with the Windows SDK's signtool "
        "(signtool sign /fd SHA256 /f FILE.pfx autorun.exe), then give it to make --launcher without "
        "branding options");
}

Bytes SignLauncher(const Bytes&, const SigningKey&) {
    RequireSigningSupport();
    return {};
}

}  // namespace authoring
