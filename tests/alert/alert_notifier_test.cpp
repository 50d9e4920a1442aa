#include "AlertTestSupport.h"
#include "base/Error.h"
#include "htmltext/PictureContainer.h"
#include "tests/support/FakeImageList.h"

#include <QMenu>

namespace newsbell {
namespace {

using Log = std::vector<std::string>;

TEST_F(AlertFixture, a_new_component_has_scheme_0_and_following_the_theme_gives_scheme_3) {
    EXPECT_EQ(TAlertNotifier::Version(), "1.3.1.0");
    EXPECT_EQ(alert->Font(), (Font{"MS Sans Serif", 8, 0xFF000008}));
    const auto colours = [this] {
        return std::vector<TColor>{alert->WindowColor(), alert->CaptionColorTo(),
                                   alert->BorderColor(), alert->BtnHoverColorTo()};
    };
    EXPECT_EQ(colours(), (std::vector<TColor>{16440004, 9841920, 9841920, 6013175}));
    alert->SetAutoThemeAdapt(true);
    addMessages({"message"});
    alert->Show();
    EXPECT_EQ(colours(), (std::vector<TColor>{0xFFFFFF, 9211278, 0xFF000002, 13811126}));
    EXPECT_EQ(popup->settings.BorderColor, 0xFF000002u);
    alert->ApplyColorScheme(4); // no such scheme
    EXPECT_EQ(alert->ColorScheme(), 3);
}

TEST_F(AlertFixture, show_places_the_popup_in_the_chosen_corner_of_the_work_area) {
    const struct {
        TWindowPosition position;
        int margins; // x and x + 2 for y
        QPoint place;
    } cases[] = {
        {wpRightBottom, 0, QPoint(978, 894)}, {wpLeftTop, 5, QPoint(17, 27)},
        {wpRightTop, 5, QPoint(983, 27)},     {wpLeftBottom, 5, QPoint(17, 907)},
        {wpRightBottom, 5, QPoint(983, 907)}, {wpPreset, 5, QPoint(40, 50)},
    };
    addMessages({"message"});
    alert->SetPopupLeft(40);
    alert->SetPopupTop(50);
    for (const auto& c : cases) {
        alert->SetScreenMarginX(c.margins);
        alert->SetScreenMarginY(c.margins ? c.margins + 2 : 0);
        alert->SetWindowPosition(c.position);
        alert->workArea = [&] {
            return c.margins ? QRect(10, 20, 1280, 994) : QRect(0, 0, 1280, 994);
        };
        if (popup) popup->shown = false;
        showAndFadeIn();
        EXPECT_EQ(popup->rect, QRect(c.place, QSize(300, 100))) << c.position;
    }
    // Dragged aside, it comes back there at the next Show.
    popup->rect.moveTo(500, 300);
    popup->OnWindowMoved();
    EXPECT_EQ(alert->WindowPosition(), wpPreset);
    popup->closePath();
    showAndFadeIn();
    EXPECT_EQ(popup->rect, QRect(500, 300, 300, 100));
}

TEST_F(AlertFixture, show_fills_the_popup_from_the_messages_and_gives_it_the_settings) {
    alert->Show();
    EXPECT_EQ(popup, nullptr); // nothing to show, nothing made

    addMessages({"<b>one\r\ntwo</b>", "three"});
    TMsgCollectionItem& second = alert->AlertMessages().Items(1);
    second.ImageIndex = 4;
    second.Tag = 9;
    second.SetColor(0xFF);
    alert->SetWindowColor(0x123456);
    alert->Show();
    EXPECT_EQ(popup->lines,
              (std::vector<std::pair<std::string, int>>{{"<b>onetwo</b>", 0}, {"three", 4}}));
    ASSERT_EQ(popup->copies.Count(), 2);
    const TMsgCollectionItem& copy = popup->copies.Items(1);
    EXPECT_EQ(std::tuple(copy.Text().lines(), copy.ImageIndex, copy.Tag, copy.Color()),
              std::tuple(std::vector<std::string>{"three"}, 4, 9, 0xFFu));
    EXPECT_EQ(popup->settings.WindowColor, 0x123456u);
    EXPECT_FALSE(popup->settings.AutoHide); // the component counts the display time

    // Settings reach a shown popup at the next Show; a few at once.
    alert->SetWindowColor(0x654321);
    alert->SetShowDelete(false);
    alert->SetPositionFormat("%d/%d");
    EXPECT_EQ(std::tuple(popup->settings.WindowColor, popup->settings.ShowDelete,
                         popup->settings.PositionFormat),
              std::tuple(0x123456u, false, std::string("%d/%d")));
}

// Three messages (Tag = index) shown, and every event of the component logged.
struct MirrorFixture : AlertFixture {
    MirrorFixture() {
        addMessages({"zero", "one", "two"});
        for (int i = 0; i < 3; ++i) alert->AlertMessages().Items(i).Tag = i;
        showAndFadeIn();
        const auto note = [this](std::string entry) {
            return [this, entry](TAlertNotifier& sender) { add(sender, entry); };
        };
        alert->OnClose = note("closed");
        alert->OnPopupClick = note("popup button");
        alert->OnCanClose = [this](TAlertNotifier& sender, bool&) { add(sender, "can close"); };
        alert->OnCanDeleteMessage = [this](TAlertNotifier& sender, int index, bool& canDelete) {
            add(sender, "can delete " + std::to_string(index));
            canDelete = !veto;
        };
        alert->OnDeleteMessage = [this](TAlertNotifier& sender, int index) {
            add(sender, "deleted " + std::to_string(index));
        };
        alert->OnAnchorClick = [this](TAlertNotifier& sender, const std::string& anchor,
                                      TMsgCollectionItem& item) {
            add(sender, anchor + " in " + std::to_string(item.Tag));
        };
    }
    void add(TAlertNotifier& sender, std::string entry) {
        EXPECT_EQ(&sender, alert);
        log.push_back(std::move(entry));
    }
    Log take() { return std::exchange(log, {}); }
    Log popupTexts() const {
        Log texts;
        for (const auto& line : popup->lines) texts.push_back(line.first);
        return texts;
    }

    Log log;
    bool veto = false;
};

TEST_F(MirrorFixture, changes_in_the_program_reach_the_shown_popup_at_once) {
    TMsgCollection& messages = alert->AlertMessages();
    messages.Items(0).Text().SetText("ZERO");
    messages.Add().Text().SetText("three");
    messages.Items(1).SetColorTo(0xFF00);
    EXPECT_EQ(popupTexts(), (Log{"ZERO", "one", "two", "three"}));
    EXPECT_EQ(popup->copies.Count(), 4);
    EXPECT_EQ(popup->copies.Items(1).ColorTo(), 0xFF00u);

    messages.Delete(1);
    EXPECT_EQ(popupTexts(), (Log{"ZERO", "two", "three"}));
    EXPECT_EQ(popup->copies.Items(1).Text()[0], "two");
    messages.Clear();
    EXPECT_EQ(take(),
              (Log{"deleted 1", "deleted 2", "deleted 1", "can close", "closed", "deleted 0"}));
    messages.Add().Text().SetText("hidden"); // a hidden popup is left alone
    EXPECT_TRUE(popup->lines.empty());
}

TEST_F(MirrorFixture, a_message_the_user_deletes_leaves_the_list_unless_the_handler_vetoes) {
    popup->deleteMessage(1);
    EXPECT_EQ(take(), (Log{"can delete 1", "deleted 1"}));
    EXPECT_EQ(alert->AlertMessages().Items(1).Tag, 2);
    EXPECT_EQ(popup->copies.Count(), 2);

    veto = true;
    popup->deleteMessage(0);
    EXPECT_EQ(take(), (Log{"can delete 0"}));
    EXPECT_EQ(alert->AlertMessages().Count(), 2);
    EXPECT_EQ(popupTexts(), (Log{"two"}));
    try {
        popup->OnDeleteMessage(2);
        FAIL() << "an index past the list is refused";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Invalid Index");
    }

    // The popup has one line fewer than the list now; clearing the list must still work.
    EXPECT_NO_THROW(alert->AlertMessages().Clear());
    EXPECT_EQ(take(), (Log{"deleted 1", "can close", "closed", "deleted 0"}));
}

TEST_F(MirrorFixture, a_link_click_brings_its_message_and_the_popup_button_a_menu_or_the_handler) {
    popup->OnAnchorClick("http://x", 2);
    popup->OnPopupbtnClick();
    EXPECT_EQ(take(), (Log{"http://x in 2", "popup button"}));

    // With a menu the popup button opens it beside the button instead.
    auto* menu = new QMenu(&window);
    menu->addAction(QStringLiteral("item"));
    alert->SetPopupMenu(menu);
    popup->rect = QRect(100, 100, 300, 100);
    popup->OnPopupbtnClick();
    EXPECT_TRUE(take().empty());
    EXPECT_EQ(menu->pos(), QPoint(100 + 190, 100 + 74));
    delete menu;
    EXPECT_EQ(alert->PopupMenu(), nullptr);
}

TEST_F(AlertFixture, references_are_cleared_in_the_component_and_its_popup_when_they_go) {
    auto images = std::make_unique<testing::FakeImageList>(1, QSize(16, 16));
    auto pictures = std::make_unique<TPictureContainer>();
    alert->SetImages(images.get());
    alert->SetPictureContainer(pictures.get());
    addMessages({"message"});
    alert->Show();
    EXPECT_EQ(popup->settings.Images, images.get());
    images.reset();
    pictures.reset();
    EXPECT_EQ(std::tuple(alert->Images(), alert->PictureContainer(), popup->settings.Images,
                         popup->settings.PictureContainer),
              std::tuple(nullptr, nullptr, nullptr, nullptr));

    testing::FakeImageList kept(1, QSize(16, 16)); // outlives the component that watched it
    alert->SetImages(&kept);
    delete alert;
}

} // namespace
} // namespace newsbell
