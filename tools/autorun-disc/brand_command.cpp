#include "atomic_write.h"
#include "branding_inputs.h"
#include "commands.h"
#include "disc_contents.h"

namespace autorun_disc {

void BrandCommand(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    const authoring::Bytes launcher = BrandedLauncher(arguments.branding, err);
    try {
        autorun::WriteFileAtomically(arguments.out, launcher);
    } catch (const autorun::FileError& error) {
        throw authoring::DiscError(arguments.out + ": " + error.what());
    }
    out << arguments.out << ": branded launcher written (" << launcher.size() << " bytes)\n";
}

}  // namespace autorun_disc
