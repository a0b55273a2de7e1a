#include "mainwindow/startup.h"

namespace ts {

std::string ArgumentText(const std::string& commandLine) {
    std::size_t i = 0;
    // The program path is quoted or ends at the first blank or tab, as Windows itself splits it.
    if (i < commandLine.size() && commandLine[i] == '"') {
        std::size_t close = commandLine.find('"', 1);
        i = close == std::string::npos ? commandLine.size() : close + 1;
    } else {
        while (i < commandLine.size() && commandLine[i] != ' ' && commandLine[i] != '\t') ++i;
    }
    while (i < commandLine.size() && (commandLine[i] == ' ' || commandLine[i] == '\t')) ++i;
    return commandLine.substr(i);
}

bool StartsHidden(const std::string& argumentText) { return argumentText == "/s"; }

}  // namespace ts
