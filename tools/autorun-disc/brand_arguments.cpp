// autorun-disc brand: its options, read into a BrandProject.
#include "command_options.h"

namespace autorun_disc {

CLI::App& AddBrandCommand(CLI::App& top, Arguments& arguments) {
    CLI::App& brand =
        *top.add_subcommand("brand", "write a copy of the launcher with your picture, icon and names");
    AddLauncherOptions(brand, arguments.brand.launcher);
    brand.add_option("--out", arguments.brand.output, "the branded launcher to write")
        ->type_name("FILE.exe")
        ->required();
    brand.footer(kWriteStatus);
    brand.callback([&arguments] { arguments.command = Command::kBrand; });
    return brand;
}

}  // namespace autorun_disc
