#include "InfoMessage.hpp"

#include <string>

#include "Messages.hpp"

namespace quarnel {

void ShowInfoBox(MsgBox& msgBox, std::string_view title, std::string_view line) {
    std::string prompt(line);
    for (const std::string& piece :
         {std::string(cInfoAttribution), InfoNotes(title), std::string(cInfoMailLine),
          std::string(cInfoWebLine), std::string(cInfoFarewell)}) {
        prompt.append("\r\r").append(piece);
    }
    msgBox.Show(prompt, cMsgInformation, title);
}

}  // namespace quarnel
