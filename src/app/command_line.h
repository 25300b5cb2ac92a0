#pragma once

#include <string>
#include <vector>

namespace qm {

// What the player asked for on the command line. Options of our own have two dashes; anything
// with one dash (-platform, -display …) is left to the toolkit.
struct CommandLine {
  std::string language;  // --lang; empty when not given
  bool help = false;     // --help or -h
  std::string error;     // set when the command line is refused; the game then does not start
};

// `languages` are the editions the game has.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments,
                             const std::vector<std::string>& languages);

// The text of --help.
std::string HelpText(const std::vector<std::string>& languages);

// The edition to start: the one asked for, else the one remembered if the game still has it,
// else the Japanese.
std::string StartingEdition(const CommandLine& line, const std::string& remembered,
                            const std::vector<std::string>& languages);

}  // namespace qm
