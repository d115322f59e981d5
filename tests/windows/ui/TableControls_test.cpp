#include "ui/windows/TableControls.hpp"

#include <gtest/gtest.h>

#include "ui/MainFormTable.hpp"

namespace quarnel {
namespace {

TEST(TableControls, ControlInsideAFrameStandsAtTheFramePlusItsOwnPlace) {
    const ControlRow& image1 = MainFormTable::cControls[4];
    ASSERT_EQ(image1.name, "Image1");
    const PixelRect rect = ClientPixelRect(MainFormTable::cControls, image1, 144.0);
    EXPECT_EQ(rect.left, 6 + 12);
    EXPECT_EQ(rect.top, 6 + 24);
    EXPECT_EQ(rect.width, 48);
    EXPECT_EQ(rect.height, 48);
}

TEST(TableControls, CreationOrderPutsFocuslessControlsFirstThenFollowsTabIndex) {
    std::vector<std::string> names;
    for (const ControlRow* control : CreationOrder(MainFormTable::cControls)) {
        names.push_back(ControlName(control->Ref()));
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{"Image1", "Btn(0)", "Btn(1)", "Btn(2)", "DropFrame"}));
}

}  // namespace
}  // namespace quarnel
