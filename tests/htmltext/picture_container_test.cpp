#include "base/Error.h"
#include "htmltext/HTMLPictureCache.h"
#include "htmltext/PictureContainer.h"
#include "picture_testdata.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace newsbell {
namespace {

void loadPng(THTMLPicture& picture, int width) {
    QByteArray bytes = testing::encodeImage(testing::solidImage(width, 1, Qt::red), "png");
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    picture.LoadFromStream(&buffer);
}

TEST(PictureContainer, names_match_without_regard_to_case_first_item_first) {
    TPictureContainer container;
    TPictureItem& logo = container.Items().Add();
    logo.Name = "Logo";
    TPictureItem& again = container.Items().Add();
    again.Name = "LOGO";
    TPictureItem& cyrillic = container.Items().Add();
    cyrillic.Name = "\xC7\xED\xE0\xF7\xEE\xEA"; // "Значок"

    EXPECT_EQ(container.FindPicture("logo"), &logo.Picture());
    EXPECT_EQ(container.FindPicture("\xE7\xED\xE0\xF7\xEE\xEA"), &cyrillic.Picture());
    EXPECT_EQ(container.FindPicture("\xC7\xCD\xC0\xD7\xCE\xCA"), &cyrillic.Picture());
    EXPECT_EQ(container.FindPicture("Logo2"), nullptr);
    EXPECT_EQ(container.FindPicture(""), nullptr);
}

TEST(PictureContainer, setting_items_copies_names_tags_and_pictures) {
    TPictureCollection source;
    TPictureItem& item = source.Add();
    item.Name = "dot";
    item.Tag = 7;
    loadPng(item.Picture(), 4);

    TPictureContainer container;
    container.Items().Add().Name = "old";
    container.SetItems(source);
    ASSERT_EQ(container.Items().Count(), 1);
    const TPictureItem& copy = container.Items().Items(0);
    EXPECT_EQ(copy.Name, "dot");
    EXPECT_EQ(copy.Tag, 7);
    EXPECT_EQ(copy.Picture().Width(), 4);
    EXPECT_NE(&copy.Picture(), &item.Picture()) << "a copy, not a shared picture";

    loadPng(item.Picture(), 9);
    EXPECT_EQ(container.FindPicture("DOT")->Width(), 4);
}

TEST(PictureContainer, items_are_checked_by_index) {
    TPictureCollection items;
    items.Add();
    EXPECT_THROW(items.Items(1), Error);
    EXPECT_THROW(items.Items(-1), Error);
    EXPECT_THROW(items.Delete(1), Error);
    items.Delete(0);
    EXPECT_EQ(items.Count(), 0);
}

TEST(PictureContainer, setting_an_item_picture_assigns_into_its_own) {
    THTMLPicture picture;
    loadPng(picture, 3);
    TPictureItem item;
    item.SetPicture(picture);
    EXPECT_EQ(item.Picture().Width(), 3);
    EXPECT_NE(&item.Picture(), &picture);
}

TEST(HtmlPictureCache, finds_by_exact_name_in_insertion_order) {
    THTMLPictureCache cache;
    THTMLPicture* first = cache.AddPicture();
    first->Asynchronous = false;
    first->LoadFromSource("http://a/b.gif");
    THTMLPicture* second = cache.AddPicture();
    second->Asynchronous = false;
    second->LoadFromSource("http://a/b.gif");
    EXPECT_TRUE(first->IsEmpty());
    EXPECT_EQ(cache.Count(), 2);
    EXPECT_EQ(cache.FindPicture("http://a/b.gif"), first);
    EXPECT_EQ(cache.FindPicture("HTTP://A/B.GIF"), nullptr);
    EXPECT_EQ(cache.GetPicture(1), second);
    EXPECT_THROW(cache.GetPicture(2), Error);
}

} // namespace
} // namespace newsbell
