#include "alert/MsgCollection.h"
#include "base/Error.h"

#include <gtest/gtest.h>

namespace newsbell {
namespace {

TEST(MessageLines, split_at_every_kind_of_line_break_and_join_without_separator) {
    TMessageLines lines;
    lines.SetText("<b>one\r\ntwo</b>\rthree\nfour\n");
    EXPECT_EQ(lines.lines(), (std::vector<std::string>{"<b>one", "two</b>", "three", "four"}));
    EXPECT_EQ(lines.joined(), "<b>onetwo</b>threefour");
    lines.SetText("");
    EXPECT_EQ(lines.Count(), 0);
}

struct HookLog {
    int changes = 0;
    std::vector<std::pair<int, int>> deletes; // index, count while the hook runs
};

void attach(TMsgCollection& collection, HookLog& log) {
    collection.setChangeHook([&log] { ++log.changes; });
    collection.setDeleteHook([&log, &collection](int index) {
        log.deletes.push_back({index, collection.Count()});
    });
}

TEST(MsgCollection, text_and_colours_raise_the_change_hook_other_fields_do_not) {
    TMsgCollection collection;
    HookLog log;
    attach(collection, log);
    TMsgCollectionItem& item = collection.Add();
    EXPECT_EQ(log.changes, 0);
    EXPECT_EQ(item.Color(), clNone);
    EXPECT_EQ(item.ColorTo(), clNone);
    item.Text().SetText("message");
    item.SetColor(0xFF);
    item.SetColorTo(0xFF00);
    item.ImageIndex = 3;
    item.Tag = 7;
    EXPECT_EQ(log.changes, 3);
}

TEST(MsgCollection, delete_hook_sees_the_item_still_listed_and_clear_goes_from_the_last) {
    TMsgCollection collection;
    HookLog log;
    attach(collection, log);
    for (int i = 0; i < 3; ++i) collection.Add().Tag = i;
    collection.Delete(0);
    EXPECT_EQ(collection.Items(0).Tag, 1);
    EXPECT_EQ(collection.Items(1).Index(), 1);
    collection.Clear();
    EXPECT_EQ(log.deletes, (std::vector<std::pair<int, int>>{{0, 3}, {1, 2}, {0, 1}}));
    EXPECT_EQ(collection.Count(), 0);
}

TEST(MsgCollection, an_index_outside_the_list_is_refused) {
    TMsgCollection collection;
    collection.Add();
    for (int index : {-1, 1}) {
        EXPECT_THROW(collection.Items(index), Error);
        try {
            collection.Delete(index);
            FAIL() << index;
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), "Invalid Index");
        }
    }
    EXPECT_EQ(collection.Count(), 1);
}

} // namespace
} // namespace newsbell
