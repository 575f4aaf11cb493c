#pragma once
// The well-known folders of the user and the program.
#include <string>

namespace vantorel::sys {

// $XDG_DOCUMENTS_DIR, else ~/Documents; empty when neither can be formed (never the root).
std::u16string documentsFolder();
// The user's home folder: $HOME, else the account's; empty when neither names one (a HOME of
// "/" included).
std::u16string homeFolder();
// The folder of the running program.
std::u16string programFolder();
// The folder with the shipped data files (machine.reg, ...): $VANTOREL_DATA_DIR when set, else
// the installed share/vantorel beside the program, else the source tree's data/ folder.
std::u16string dataFolder();
// Sets VANTOREL_DATA to dataFolder() unless it is set already, so that stored paths written as
// "%VANTOREL_DATA%\..." (the shipped machine-wide settings) resolve to the shipped files.
void publishDataFolder();
// The current user's settings folder: $VANTOREL_HOME, else $XDG_CONFIG_HOME/vantorel, else
// ~/.config/vantorel.
std::u16string userConfigFolder();
// $VANTOREL_HOME when it is set: the folder that then holds all of the user's own files
// (settings, project backups, synchronisation reports); empty otherwise.
std::u16string configuredUserHome();

}  // namespace vantorel::sys
