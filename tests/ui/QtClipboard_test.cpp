#include "platform/qt/QtClipboard.hpp"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <new>

namespace quarnel {
namespace {

// A text that runs out of memory half-way through being read.
struct FailingText final : TextPieces {
    std::size_t Size() const override { return 20; }
    void ForEachPiece(const std::function<void(std::string_view)>& visit) const override {
        visit("neu");
        throw std::bad_alloc();
    }
};

TEST(QtClipboard, ATextThatCannotBeBuiltLeavesTheLastTextAndTheClipboard) {
    QtClipboard clipboard;
    OutputText last;
    last.Append("alt\r\n");
    ASSERT_TRUE(clipboard.SetText(last));
    EXPECT_THROW(clipboard.SetText(OutputText(std::make_unique<FailingText>())), std::bad_alloc);
    EXPECT_EQ(clipboard.TextBytes(), 5u);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("alt\r\n"));
}

}  // namespace
}  // namespace quarnel
