// The catalog as the host reads it through the exports of the built extension: menu lookups, the menu
// copies handed to the editor, and the run-time information after an instance's TEXT grew.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "vohost/checks/catalog_print.h"
#include "vohost/error.h"
#include "vohost/loader/extension.h"
#include "vohost/simhost/editor.h"

namespace vohost {
namespace {

class CatalogThroughExports : public ::testing::Test {
 protected:
  Extension extension{NIMBO_EXTENSION_PATH};
  const Exports& x = extension.exports();
  Editor editor;
};

TEST_F(CatalogThroughExports, MenuItemsLeadToTheirCodesWhereTableOrderDiffersFromCodeOrder) {
  EXPECT_EQ(codeFromMenu(x, editor.record(), CatalogKind::condition, 26006), 6);
  EXPECT_EQ(codeFromMenu(x, editor.record(), CatalogKind::action, 25008), 51);
  EXPECT_EQ(codeFromMenu(x, editor.record(), CatalogKind::action, 25161), 49);
  EXPECT_EQ(codeFromMenu(x, editor.record(), CatalogKind::expression, 27009), 9);
  EXPECT_EQ(codeFromMenu(x, editor.record(), CatalogKind::action, 40001), -1) << "a label is no action";
}

TEST_F(CatalogThroughExports, DisabledItemsStayDisabledInTheMenuCopies) {
  bool isNull = true;
  std::vector<MenuNode> actions = readMenu(x, editor.record(), CatalogKind::action, isNull);
  ASSERT_FALSE(isNull);
  std::map<int, const MenuNode*> items = menuItems(actions);
  for (int id : {40001, 25100, 25101, 25200, 25480, 25481}) {
    ASSERT_TRUE(items.contains(id)) << id;
    EXPECT_TRUE(items[id]->disabled) << id;
  }
  EXPECT_FALSE(items.at(25000)->disabled);
  std::vector<MenuNode> expressions = readMenu(x, editor.record(), CatalogKind::expression, isNull);
  EXPECT_TRUE(menuItems(expressions).at(27106)->disabled);
  EXPECT_FALSE(menuItems(expressions).at(27105)->disabled);
}

TEST_F(CatalogThroughExports, RunInformationKeepsItsSizesAfterTheTextGrewTheStoredRecord) {
  EditOverrides overrides;
  overrides.text = nimbo::Text(300, u'x');
  std::unique_ptr<EditData> block = createEditData(x, editor, overrides);
  EXPECT_EQ(block->size(), 48u + 2 * 300);
  voRunInfo info{};
  x.GetRunObjectInfos(editor.record(), &info);
  EXPECT_EQ(info.conditionCount, 8);
  EXPECT_EQ(info.actionCount, 54);
  EXPECT_EQ(info.expressionCount, 19);
  EXPECT_EQ(info.editDataSize, 48);
}

TEST_F(CatalogThroughExports, ExpressionTitlesFallBackOnlyWhereTheTableSaysSo) {
  EXPECT_EQ(parameterTitle(x, editor.record(), CatalogKind::expression, 17, 0),
            "Enter Angle (dedicated for the Named Controlled Angle.)");
  EXPECT_EQ(parameterTitle(x, editor.record(), CatalogKind::expression, 17, 1), "")
      << "string 7510 does not exist";
}

// `vohost catalog --json`, the form the studio page reads: an entry found by its code wherever the table
// puts it, with the path of submenus down to its item.
TEST_F(CatalogThroughExports, TheJsonCatalogGivesEachEntryItsMenuPathTextsAndParameters) {
  nlohmann::json catalog = nlohmann::json::parse(catalogJson(extension));
  ASSERT_EQ(catalog["actions"].size(), 54u);
  ASSERT_EQ(catalog["conditions"].size(), 8u);
  ASSERT_EQ(catalog["expressions"].size(), 19u);
  auto entry = [&](const char* kind, int code) {
    for (const nlohmann::json& each : catalog[kind]) {
      if (each["code"] == code) return each;
    }
    ADD_FAILURE() << kind << " " << code << " is missing";
    return nlohmann::json();
  };
  nlohmann::json setText = entry("actions", 0);
  EXPECT_EQ(setText["menuPath"], nlohmann::json::array());
  EXPECT_EQ(setText["menuText"], "Set TEXT");
  EXPECT_EQ(setText["displayString"], "Set TEXT ( %0 )");
  EXPECT_EQ(setText["parameters"], nlohmann::json::parse(R"([{"kind": "text", "kindCode": 45, "titleId": 5500,
                                                              "title": "Set the TEXT to the Extension"}])"));
  EXPECT_EQ(entry("actions", 51)["menuId"], 25008) << "table order differs from code order there";
  EXPECT_EQ(entry("actions", 51)["menuPath"], nlohmann::json::parse(R"(["HWND"])"));
  EXPECT_EQ(entry("actions", 10)["menuPath"], nlohmann::json::parse(R"(["OBJECT ALIGN", "Horizontal"])"));
  EXPECT_EQ(entry("conditions", 6)["menuText"], "Mismatch          ( if Not Matched )");
  EXPECT_EQ(entry("expressions", 17)["parameters"][1]["title"], "") << "string 7510 does not exist";
  EXPECT_EQ(entry("expressions", 17)["flags"], 2);
}

TEST(Loader, AMissingLibraryIsAClearError) {
  EXPECT_THROW(Extension("/nonexistent/nimbo.so"), Error);
}

}  // namespace
}  // namespace vohost
