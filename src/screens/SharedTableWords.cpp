#include "screens/SharedTableWords.h"

#include "report/Counted.h"

namespace shared_words {

std::string Label(bool sharedShown, const std::string& host) {
    return sharedShown ? "Shared table at " + host + "  -  Tab: this computer"
                       : "This computer  -  Tab: shared table";
}

std::string PostLine(const net::PostReport& post, const std::string& host) {
    using State = net::PostReport::State;
    switch (post.state) {
        case State::None:
            return {};
        case State::Sending:
            return "Sending to the shared table...";
        case State::Listed:
            if (post.place > 0) {
                return "Sent to the shared table: " +
                       Ordinal(static_cast<std::uint64_t>(post.place)) +
                       (post.lines > 0 ? " of " + std::to_string(post.lines) : std::string());
            }
            return "Sent to the shared table: below its first " + std::to_string(post.sentLines) +
                   (post.lines > 0 ? ", of " + std::to_string(post.lines) : std::string());
        case State::AlreadyListed:
            return post.line.empty() ? std::string("Already on the shared table")
                                     : "Already on the shared table: " + post.line;
        case State::Refused:
            return "Not sent: " + post.reason;
        case State::Waiting:
            return "Will be sent when " + host + " answers";
    }
    return {};
}

std::string RowsLine(const net::TableReport& rows, const std::string& host) {
    using State = net::TableReport::State;
    switch (rows.state) {
        case State::Loading:
            return rows.rows.empty() ? "Asking " + host + " for the shared table..."
                                     : std::string();
        case State::Listed:
            return {};
        case State::Unreachable:
            return "The shared table at " + host + " cannot be reached just now";
    }
    return {};
}

}  // namespace shared_words
