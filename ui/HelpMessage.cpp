#include "HelpMessage.hpp"

#include <string>

#include "Messages.hpp"
#include "core/ProgramTitle.hpp"

namespace quarnel {

void ShowHelp(MsgBox& msgBox, std::string_view versionLine) {
    std::string prompt(versionLine);
    prompt.append("\r\r").append(cHelpProblem).append("\r\r").append(cHelpSolution);
    msgBox.Show(prompt, cMsgQuestion, ProgramTitle);
}

}  // namespace quarnel
