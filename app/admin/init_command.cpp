// `xuanpian-admin init DIR [--with-program PATH]`: a new, empty installation a studio can log in to.
#include "app/admin/admin_command.h"
#include "app/admin/install_args.h"

namespace xp::admin {
namespace {

constexpr char kUsage[] =
    "xuanpian-admin init DIR [--with-program PATH]\n"
    "    create an installation in DIR: data/ with the order, user, product and category tables\n"
    "    (user admin, password tovex) and the gallery folders 样照欣赏/ and 设计看版/; with\n"
    "    --with-program, PATH (the xuanpian program) is copied into DIR. DIR is created when missing;\n"
    "    an existing installation in it is reported and left untouched.";

int runInit(const std::vector<std::string>& args) { return runInstallCommand("init", kUsage, args, {}); }

const AdminCommandRegistrar registrar({"init", kUsage, runInit});

}  // namespace
}  // namespace xp::admin
