#pragma once

#include <string>

#include "net/SharedTable.h"

// What the high-score list says about the shared table, in words.
namespace shared_words {

// The small label under the list that names the table shown and the key to the other one.
std::string Label(bool sharedShown, const std::string& host);

// How the game just stored fares with the table: "Sent to the shared table: 12th of 340", "Not
// sent: the shared table runs version 1.1.0", "Will be sent when scores.example.org answers".
// Empty when no game was sent.
std::string PostLine(const net::PostReport& post, const std::string& host);

// While the table's rows are on their way, or cannot be had: one line saying so; empty once
// they are there.
std::string RowsLine(const net::TableReport& rows, const std::string& host);

}  // namespace shared_words
