// A modal message box with a single OK button. Line breaks in the prompt are a lone CR.
#pragma once

#include <string_view>

namespace quarnel {

inline constexpr int cMsgOkOnly = 0;
inline constexpr int cMsgQuestion = 32;
inline constexpr int cMsgInformation = 64;

class MsgBox {
public:
    virtual ~MsgBox() = default;
    virtual void Show(std::string_view prompt, int buttonsAndIcon, std::string_view title) = 0;
};

}  // namespace quarnel
