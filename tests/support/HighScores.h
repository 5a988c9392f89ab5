#pragma once

#include <string>
#include <vector>

class GameEngine;

// Types name over the game-over screen as the player would, replacing the name left from the last
// game, confirms it and switches name entry off again, as the game-over screen does.
void ConfirmName(GameEngine& engine, const std::string& name);
// Installs an add-score screen for score and presses Enter on it.
void StoreScore(GameEngine& engine, int score);
// The lines of a file's content; the line feed that ends the last line starts no further line.
std::vector<std::string> SplitLines(const std::string& content);
// The content of a high-score file holding these entries, as the game writes it: highest first.
std::string FileOf(std::vector<std::string> entries);
// The lines of what the game said on standard error that are about a score it did not store.
std::vector<std::string> NotSavedLines(const std::string& said);
// Temporary files that storing left in folder.
std::vector<std::string> Leftovers(const std::string& folder);
