#include "atomic_write.h"
#include "commands.h"
#include "disc_contents.h"
#include "signing_inputs.h"

namespace autorun_disc {

void BrandCommand(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    const authoring::Bytes launcher = FinishedLauncher(arguments, err);
    try {
        autorun::WriteFileAtomically(arguments.out, launcher);
    } catch (const autorun::FileError& error) {
        throw authoring::DiscError(arguments.out + ": " + error.what());
    }
    out << arguments.out
        << (arguments.signing.pfx ? ": signed launcher written (" : ": branded launcher written (")
        << launcher.size() << " bytes)\n";
}

}  // namespace autorun_disc
