// The tables of the system: their names, their fields as named constants, the layouts an installation
// creates them with, and the photo table's creation request.
#pragma once

#include <string>
#include <vector>

#include "store/record_store.h"

namespace xp {

// Names of the open tables (file name without folder and extension), for selectTable and closeTable.
inline constexpr char kOrderTableName[] = "xpsjk";
inline constexpr char kUserTableName[] = "yhm";
inline constexpr char kProductTableName[] = "cpdata";
inline constexpr char kCategoryTableName[] = "cplbsjk";
inline constexpr char kPhotoTableName[] = "xpdata";

// Order table xpsjk, one row per order.
namespace order_fields {
inline constexpr char kOrderNumber[] = "订单编号";
inline constexpr char kCustomerName[] = "顾客姓名";
inline constexpr char kPhone[] = "联系电话";
inline constexpr char kSelectionDate[] = "选片日期";
inline constexpr char kViewingDate[] = "看样日期";
inline constexpr char kPickupDate[] = "取件日期";
inline constexpr char kSelector[] = "选片人";
inline constexpr char kState[] = "选片状态";
inline constexpr char kUrgent[] = "是否加急";
inline constexpr char kSelectionFolder[] = "选片目录";
inline constexpr char kIncludedCount[] = "应选张数";
inline constexpr char kPackageProducts[] = "套系产品";
inline constexpr char kExtraCount[] = "加选张数";
inline constexpr char kExtraAmount[] = "加选金额";
inline constexpr char kRequirements[] = "制作要求";
}  // namespace order_fields

// Values of the order table's flags.
inline constexpr char kStateNotSelected[] = "未选";
inline constexpr char kStateSplit[] = "OK";
inline constexpr char kUrgentNo[] = "否";
inline constexpr char kUrgentYes[] = "加急";

// User table yhm, fields in this order.
namespace user_fields {
inline constexpr char kUserName[] = "用户名";
inline constexpr char kPassword[] = "密码";
}  // namespace user_fields

// The account every installation starts with (the login window's defaults).
inline constexpr char kAdminUser[] = "admin";
inline constexpr char kAdminPassword[] = "tovex";

// Product table cpdata, fields in this order.
namespace product_fields {
inline constexpr char kName[] = "产品名称";
inline constexpr char kCategory[] = "产品类别";
}  // namespace product_fields

// Category table cplbsjk, one field.
namespace category_fields {
inline constexpr char kName[] = "产品类别";
}  // namespace category_fields

// Photo table xpdata in each selection folder, fields in this order.
namespace photo_fields {
inline constexpr char kFileName[] = "文件名";
inline constexpr char kProducts[] = "产品名称";
inline constexpr char kRetouch[] = "修改要求";
inline constexpr char kFilePath[] = "文件路径";
inline constexpr char kRecordNumber[] = "记录号";
inline constexpr char kFileLength[] = "文件长度";
}  // namespace photo_fields

// The product every order's product list starts with: into the album.
inline constexpr char kIntoAlbumProduct[] = "入册";

// Field layouts for createTable, names already in GBK. Every field of the four tables beside the program
// is read as text; the widths hold the longest values a studio uses: paths and product lists get the
// full 1024 bytes and "制作要求", which collects every retouch request of an order, is a Memo.
enum class AppTable { Orders, Users, Products, Categories };
std::vector<FieldDef> tableFields(AppTable table);

// The photo table's creation request: twenty definitions of which the first six are named ("记录号" an
// Int, the others Memo); the store stops at the first unnamed one, so the table gets six fields.
std::vector<FieldDef> photoTableCreationRequest();

// "" when the current table of `store` has the fields `table` needs (names in the fixed order where the
// order matters, every one of a text kind); otherwise a sentence naming the first problem.
std::string schemaProblem(const RecordStore& store, AppTable table);

}  // namespace xp
