#include "AlertTestSupport.h"
#include "base/Error.h"
#include "htmltext/ImageList.h"
#include "htmltext/PictureContainer.h"

#include <QMenu>

namespace newsbell {
namespace {

TEST_F(AlertFixture, a_new_component_has_the_values_the_main_window_relies_on) {
    EXPECT_EQ(TAlertNotifier::Version(), "1.3.1.0");
    EXPECT_TRUE(alert->AutoHide());
    EXPECT_FALSE(alert->Hover());
    EXPECT_EQ(alert->Font(), (Font{"MS Sans Serif", 8, 0xFF000008}));
    EXPECT_EQ(alert->PositionFormat(), "%d of %d");
    EXPECT_EQ(alert->WindowPosition(), wpRightBottom);
    EXPECT_EQ(alert->DisplayTime(), 5000);
    EXPECT_EQ(std::vector<int>({alert->AlphaEnd(), alert->AlphaStart(), alert->FadeStep(),
                                alert->FadeTime(), alert->PopupWidth(), alert->PopupHeight(),
                                alert->MarginX(), alert->MarginY()}),
              (std::vector<int>{180, 0, 2, 0, 300, 100, 4, 1}));
    EXPECT_EQ(alert->ColorScheme(), 0);
}

TEST_F(AlertFixture, a_colour_scheme_sets_every_colour_and_an_unknown_number_changes_nothing) {
    const auto colours = [this] {
        return std::vector<TColor>{
            alert->WindowColor(),    alert->WindowColorTo(), alert->CaptionColor(),
            alert->CaptionColorTo(), alert->BorderColor(),   alert->BtnDownColor(),
            alert->BtnDownColorTo(), alert->BtnHoverColor(), alert->BtnHoverColorTo()};
    };
    const std::vector<TColor> schemes[] = {
        {16440004, 16105376, 14059353, 9841920, 9841920, 557032, 8182519, 14483455, 6013175},
        {16249843, 15128792, 12560296, 9731196, 9731196, 557032, 8182519, 14483455, 6013175},
        {15004146, 11197146, 7310968, 5800032, 5800032, 557032, 8182519, 14483455, 6013175},
        {0xFFFFFF, 13226453, 13160660, 9211278, 0xFF000002, 11899525, 11899525, 13811126, 13811126},
    };
    EXPECT_EQ(colours(), schemes[0]);
    for (int scheme : {3, 1, 2}) {
        alert->SetGradientDirection(gdHorizontal);
        alert->ApplyColorScheme(scheme);
        EXPECT_EQ(colours(), schemes[scheme]) << scheme;
        EXPECT_EQ(alert->GradientDirection(), gdVertical);
    }
    alert->ApplyColorScheme(4);
    EXPECT_EQ(colours(), schemes[2]);
    EXPECT_EQ(alert->ColorScheme(), 2);

    // Following the desktop's theme gives the scheme of a desktop without one.
    alert->SetAutoThemeAdapt(true);
    addMessages({"message"});
    alert->Show();
    EXPECT_EQ(popup->settings.BorderColor, 0xFF000002u);
}

TEST_F(AlertFixture, show_places_the_popup_in_the_chosen_corner_of_the_work_area) {
    const struct {
        TWindowPosition position;
        QRect area;
        QPoint place;
    } cases[] = {
        {wpRightBottom, QRect(0, 0, 1280, 994), QPoint(978, 894)},
        {wpLeftTop, QRect(10, 20, 1280, 994), QPoint(17, 27)},
        {wpRightTop, QRect(10, 20, 1280, 994), QPoint(983, 27)},
        {wpLeftBottom, QRect(10, 20, 1280, 994), QPoint(17, 907)},
        {wpRightBottom, QRect(10, 20, 1280, 994), QPoint(983, 907)},
        {wpPreset, QRect(10, 20, 1280, 994), QPoint(40, 50)},
    };
    addMessages({"message"});
    alert->SetPopupLeft(40);
    alert->SetPopupTop(50);
    for (const auto& c : cases) {
        const bool margins = c.area.x() != 0;
        alert->SetScreenMarginX(margins ? 5 : 0);
        alert->SetScreenMarginY(margins ? 7 : 0);
        alert->SetWindowPosition(c.position);
        alert->workArea = [&] { return c.area; };
        if (popup) popup->shown = false;
        showAndFadeIn();
        EXPECT_EQ(popup->rect, QRect(c.place, QSize(300, 100))) << c.position;
    }
}

TEST_F(AlertFixture, a_dragged_popup_comes_back_where_the_user_put_it) {
    addMessages({"message"});
    showAndFadeIn();
    popup->rect.moveTo(500, 300);
    popup->OnWindowMoved();
    EXPECT_EQ(alert->WindowPosition(), wpPreset);
    popup->closePath();
    popup->rect.moveTo(0, 0);
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
    EXPECT_EQ(
        std::tuple(copy.Text().lines(), copy.ImageIndex, copy.Tag, copy.Color(), copy.ColorTo()),
        std::tuple(std::vector<std::string>{"three"}, 4, 9, 0xFFu, clNone));
    EXPECT_EQ(popup->settings.WindowColor, 0x123456u);
    EXPECT_FALSE(popup->settings.AutoHide); // the component counts the display time

    // Stored settings reach a shown popup at the next Show; these four at once.
    alert->SetWindowColor(0x654321);
    alert->SetShowDelete(false);
    alert->SetShowPopup(true);
    alert->SetAutoDelete(true);
    alert->SetPositionFormat("%d/%d");
    EXPECT_EQ(std::tuple(popup->settings.WindowColor, popup->settings.ShowDelete,
                         popup->settings.ShowPopup, popup->settings.AutoDelete,
                         popup->settings.PositionFormat),
              std::tuple(0x123456u, false, true, true, std::string("%d/%d")));
}

struct EventLog {
    std::vector<std::string> entries;
    TAlertNotifier* sender = nullptr;

    void attach(TAlertNotifier& alert) {
        sender = &alert;
        alert.OnCanDeleteMessage = [this](TAlertNotifier& from, int index, bool& canDelete) {
            add(from, "can delete " + std::to_string(index));
            canDelete = !vetoDelete;
        };
        alert.OnDeleteMessage = [this](TAlertNotifier& from, int index) {
            add(from, "deleted " + std::to_string(index));
        };
        alert.OnCanClose = [this](TAlertNotifier& from, bool& canClose) {
            add(from, "can close");
            EXPECT_TRUE(canClose);
        };
        alert.OnClose = [this](TAlertNotifier& from) { add(from, "closed"); };
        alert.OnNextMessage = [this](TAlertNotifier& from) { add(from, "next"); };
        alert.OnPrevMessage = [this](TAlertNotifier& from) { add(from, "previous"); };
        alert.OnPopupClick = [this](TAlertNotifier& from) { add(from, "popup button"); };
        alert.OnAnchorClick = [this](TAlertNotifier& from, const std::string& anchor,
                                     TMsgCollectionItem& item) {
            add(from, anchor + " in " + std::to_string(item.Tag));
        };
    }
    void add(TAlertNotifier& from, std::string entry) {
        EXPECT_EQ(&from, sender);
        entries.push_back(std::move(entry));
    }
    std::vector<std::string> take() { return std::exchange(entries, {}); }

    bool vetoDelete = false;
};

struct MirrorFixture : AlertFixture {
    MirrorFixture() {
        addMessages({"zero", "one", "two"});
        for (int i = 0; i < 3; ++i) alert->AlertMessages().Items(i).Tag = i;
        showAndFadeIn();
        log.attach(*alert);
    }
    std::vector<std::string> popupTexts() const {
        std::vector<std::string> texts;
        for (const auto& line : popup->lines) texts.push_back(line.first);
        return texts;
    }
    EventLog log;
};

TEST_F(MirrorFixture, changes_in_the_program_reach_the_shown_popup_at_once) {
    TMsgCollection& messages = alert->AlertMessages();
    messages.Items(0).Text().SetText("ZERO");
    messages.Add().Text().SetText("three");
    messages.Items(1).SetColorTo(0xFF00);
    EXPECT_EQ(popupTexts(), (std::vector<std::string>{"ZERO", "one", "two", "three"}));
    EXPECT_EQ(popup->copies.Count(), 4);
    EXPECT_EQ(popup->copies.Items(1).ColorTo(), 0xFF00u);

    messages.Delete(1);
    EXPECT_EQ(popupTexts(), (std::vector<std::string>{"ZERO", "two", "three"}));
    EXPECT_EQ(popup->copies.Items(1).Text()[0], "two");
    EXPECT_EQ(log.take(), (std::vector<std::string>{"deleted 1"}));

    messages.Clear();
    EXPECT_EQ(log.take(), (std::vector<std::string>{"deleted 2", "deleted 1", "can close", "closed",
                                                    "deleted 0"}));
    EXPECT_FALSE(popup->shown);
    messages.Add().Text().SetText("hidden"); // a hidden popup is left alone
    EXPECT_TRUE(popup->lines.empty());
}

TEST_F(MirrorFixture, a_message_the_user_deletes_leaves_the_list_unless_the_handler_vetoes) {
    popup->deleteMessage(1);
    EXPECT_EQ(log.take(), (std::vector<std::string>{"can delete 1", "deleted 1"}));
    EXPECT_EQ(alert->AlertMessages().Count(), 2);
    EXPECT_EQ(alert->AlertMessages().Items(1).Tag, 2);
    EXPECT_EQ(popup->copies.Count(), 2);

    log.vetoDelete = true;
    popup->deleteMessage(0);
    EXPECT_EQ(log.take(), (std::vector<std::string>{"can delete 0"}));
    EXPECT_EQ(alert->AlertMessages().Count(), 2);
    EXPECT_EQ(popupTexts(), (std::vector<std::string>{"two"}));

    try {
        popup->OnDeleteMessage(2);
        FAIL() << "an index past the list is refused";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Invalid Index");
    }

    // The popup now has one line fewer than the list: clearing the list must still work.
    EXPECT_NO_THROW(alert->AlertMessages().Clear());
    EXPECT_EQ(log.take(),
              (std::vector<std::string>{"deleted 1", "can close", "closed", "deleted 0"}));
    EXPECT_FALSE(popup->shown);
}

TEST_F(MirrorFixture, the_popups_notifications_reach_the_handlers_with_the_component_as_sender) {
    popup->OnNextMessage();
    popup->OnPrevMessage();
    popup->OnAnchorClick("http://x", 2);
    popup->OnPopupbtnClick();
    EXPECT_EQ(log.take(),
              (std::vector<std::string>{"next", "previous", "http://x in 2", "popup button"}));

    // With a menu the popup button opens it beside the button instead.
    auto* menu = new QMenu(&window);
    menu->addAction("item");
    alert->SetPopupMenu(menu);
    popup->rect = QRect(100, 100, 300, 100);
    popup->OnPopupbtnClick();
    EXPECT_TRUE(log.take().empty());
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->pos(), QPoint(100 + 190, 100 + 74));
    delete menu;
    EXPECT_EQ(alert->PopupMenu(), nullptr);
    popup->OnPopupbtnClick();
    EXPECT_EQ(log.take(), (std::vector<std::string>{"popup button"}));
}

class OneImage final : public ImageList {
public:
    int count() const override { return 1; }
    int width() const override { return 16; }
    int height() const override { return 16; }
    QImage image(int) const override { return QImage(16, 16, QImage::Format_ARGB32); }
};

TEST_F(AlertFixture, references_are_cleared_in_the_component_and_its_popup_when_they_go) {
    auto images = std::make_unique<OneImage>();
    auto pictures = std::make_unique<TPictureContainer>();
    alert->SetImages(images.get());
    alert->SetPictureContainer(pictures.get());
    addMessages({"message"});
    alert->Show();
    EXPECT_EQ(popup->settings.Images, images.get());

    images.reset();
    pictures.reset();
    EXPECT_EQ(alert->Images(), nullptr);
    EXPECT_EQ(alert->PictureContainer(), nullptr);
    EXPECT_EQ(popup->settings.Images, nullptr);
    EXPECT_EQ(popup->settings.PictureContainer, nullptr);

    // A component that goes first leaves nothing behind in the list it watched.
    OneImage kept;
    alert->SetImages(&kept);
    delete alert;
}

} // namespace
} // namespace newsbell
