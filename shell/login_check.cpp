// The login check: a scan of the user table from its first record, byte-exact comparisons in GBK.
#include "shell/login_check.h"

#include "appdata/registry_values.h"
#include "appdata/table_schema.h"
#include "appdata/table_text.h"
#include "appdata/text_codec.h"

namespace xp {

namespace {

void tell(const char* text) { ui::messageBox(text, kMessageTitle, ui::MessageIcon::Information); }

// The user table as the current table: freshly opened, or still open from a failed attempt.
bool selectUserTable(RecordStore& store, const std::string& path) {
    if (openAppTable(store, path)) return true;
    return store.selectTable(kUserTableName);
}

}  // namespace

bool checkLogin(AppState& app, const std::string& userName, const std::string& password) {
    RecordStore& store = app.store;
    // A missing or damaged user table must not get as far as reading a field: that would end the
    // program with the store's fatal error instead of telling the user what is wrong.
    if (!selectUserTable(store, app.paths.userTable) || !schemaProblem(store, AppTable::Users).empty()) {
        store.closeTable(kUserTableName);
        tell(kLoginNoUserTableMessage);
        return false;
    }
    if (userName.empty() || password.empty()) {
        tell(kLoginEmptyMessage);
        return false;
    }

    // Stored texts are GBK bytes; compare the typed texts in the same form, byte for byte.
    const std::string name = toGbk(userName);
    const std::string pass = toGbk(password);
    const std::string nameField = toGbk(user_fields::kUserName);
    const std::string passwordField = toGbk(user_fields::kPassword);
    store.firstRecord();
    const int count = store.recordCount();
    for (int i = 0; i < count; ++i) {
        if (store.readField(nameField).asText() == name) break;
        store.skipRecords(1);
    }
    // Past the last record the field reads as the empty text, which never equals a typed password.
    if (store.readField(passwordField).asText() != pass) {
        tell(kLoginWrongMessage);
        return false;
    }

    store.closeAllTables();
    saveLastLogin(userName, password);
    return true;
}

}  // namespace xp
