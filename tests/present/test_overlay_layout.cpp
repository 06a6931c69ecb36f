// Where the information texts stand on an 800 x 450 view, in both text modes.
#include <gtest/gtest.h>

#include "present/overlay_layout.h"

namespace vesk::present {
namespace {

const ViewGeometry kView{.width = 800, .height = 450};

// Every text is 10 pixels a character wide, so the centring is easy to follow.
int tenPerCharacter(const std::string& text, int) { return static_cast<int>(text.size()) * 10; }

const PlacedText* find(const std::vector<PlacedText>& texts, const std::string& text) {
  for (const PlacedText& t : texts) {
    if (t.text == text) return &t;
  }
  return nullptr;
}

struct Placement {
  const char* text;
  int fontSize;
  int x;
  int y;
};

TEST(OverlayLayout, TextsStandWhereTheViewsProportionsPutThem) {
  sim::OverlayTexts texts;
  texts.SpeedText = " 42.0 km/h";
  texts.NextStopText = "next";
  texts.ClockText = "clock";
  texts.StationNoticeText = "notice";
  texts.LimitNoticeText = "limit";
  texts.LimitText = "limit2";
  texts.OneManText = "oneman";
  sim::HandleTexts handles{"fwd", "P2", "B3", "gear"};
  const auto placed = layoutOverlayTexts(texts, handles, kView, 0, 1, tenPerCharacter);
  // Sizes: 0.02 W = 16 for the speed, 0.017 W = 13.6 -> 14 for the others.
  for (const Placement& want :
       {Placement{" 42.0 km/h", 16, 640, 378}, Placement{"fwd", 14, 640, 414}, Placement{"P2", 14, 696, 414},
        Placement{"B3", 14, 736, 414}, Placement{"gear", 14, 576, 414}, Placement{"limit", 14, 560, 351},
        Placement{"limit2", 14, 560, 324}, Placement{"notice", 14, 8, 360}, Placement{"next", 14, 8, 387},
        Placement{"clock", 14, 8, 414}, Placement{"oneman", 14, 120, 414}}) {
    const PlacedText* t = find(placed, want.text);
    ASSERT_NE(t, nullptr) << want.text;
    EXPECT_EQ(t->fontSize, want.fontSize) << want.text;
    EXPECT_EQ(t->x, want.x) << want.text;
    EXPECT_EQ(t->y, want.y) << want.text;
  }
}

TEST(OverlayLayout, TheMessageIsCentredOnItsOwnWidthAndMovesDownInTextMode) {
  sim::OverlayTexts texts;
  texts.MessageText = "twelve chars";
  texts.SpeedText = "speed";
  const auto top = layoutOverlayTexts(texts, {}, kView, 0, 0, tenPerCharacter);
  const PlacedText* message = find(top, "twelve chars");
  ASSERT_NE(message, nullptr);
  EXPECT_EQ(message->x, 400 - 60);
  EXPECT_EQ(message->y, 22);  // even(0.05 x 450) = even(22.5)
  EXPECT_EQ(message->fontSize, 12);
  // In text mode the window's labels show everything else; the message goes near the bottom.
  const auto textMode = layoutOverlayTexts(texts, {}, kView, 1, 0, tenPerCharacter);
  ASSERT_EQ(textMode.size(), 1u);
  EXPECT_EQ(textMode[0].y, 405);
  // With the explanations hidden there is no message.
  EXPECT_EQ(find(layoutOverlayTexts(texts, {}, kView, 0, 1, tenPerCharacter), "twelve chars"), nullptr);
}

TEST(OverlayLayout, RemainingDistanceAndCrossingTextsStackUpwards) {
  sim::OverlayTexts texts;
  texts.RemainText = "remain";
  texts.SpeedCheckText = "crossing";
  auto placed = layoutOverlayTexts(texts, {}, kView, 0, 1, tenPerCharacter);
  EXPECT_EQ(find(placed, "remain")->y, 360 - 27);
  EXPECT_EQ(find(placed, "crossing")->y, 360 - 54);
  texts.RemainText.clear();
  placed = layoutOverlayTexts(texts, {}, kView, 0, 1, tenPerCharacter);
  EXPECT_EQ(find(placed, "crossing")->y, 360 - 27);
}

TEST(OverlayLayout, EmptyTextsAreNotDrawn) {
  EXPECT_TRUE(layoutOverlayTexts({}, {}, kView, 0, 0, tenPerCharacter).empty());
}

}  // namespace
}  // namespace vesk::present
