// The login's registry values through the registry substitute, texts stored in GBK.
#include "appdata/registry_values.h"

#include "appdata/text_codec.h"
#include "platform/registry.h"

namespace xp {

bool saveLastLogin(const std::string& userName, const std::string& password) {
    bool user = setRegistryString(kRegistryKey, kRegistryUserName, toGbk(userName));
    bool pass = setRegistryString(kRegistryKey, kRegistryPassword, toGbk(password));
    return user && pass;
}

bool saveRememberMe(bool ticked) {
    return ticked ? setRegistryNumber(kRegistryKey, kRegistryRememberMe, 1)
                  : deleteRegistryValue(kRegistryKey, kRegistryRememberMe);
}

std::optional<std::string> lastLoginUserName() {
    auto v = registryString(kRegistryKey, kRegistryUserName);
    return v ? std::optional(fromGbk(*v)) : std::nullopt;
}

std::optional<std::string> lastLoginPassword() {
    auto v = registryString(kRegistryKey, kRegistryPassword);
    return v ? std::optional(fromGbk(*v)) : std::nullopt;
}

bool rememberMeSet() { return registryNumber(kRegistryKey, kRegistryRememberMe).value_or(0) == 1; }

}  // namespace xp
