// `xuanpian-admin demo DIR [--with-program PATH]`: an installation with demo content to try things on.
#include "app/admin/admin_command.h"
#include "app/admin/install_args.h"
#include "app/admin/install_demo_content.h"

namespace xp::admin {
namespace {

constexpr char kUsage[] =
    "xuanpian-admin demo DIR [--with-program PATH]\n"
    "    as init, plus demo content: two selectors (小王/1234, 小李/5678), categories and products,\n"
    "    store details, warm tips, requirement presets, three orders whose selection folders in\n"
    "    DIR/客户照片/ hold generated photos (one already selected and saved), and gallery albums.";

int runDemo(const std::vector<std::string>& args) {
    InstallOptions options;
    options.fill = fillDemoContent;
    return runInstallCommand("demo", kUsage, args, options);
}

const AdminCommandRegistrar registrar({"demo", kUsage, runDemo});

}  // namespace
}  // namespace xp::admin
