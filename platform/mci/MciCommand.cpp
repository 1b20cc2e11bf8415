#include "platform/mci/MciCommand.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <vector>

namespace {
std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Splits at blanks outside double quotes; the quotes themselves are dropped.
MCIERROR Tokenize(std::string_view text, std::vector<std::string>& words) {
    std::size_t at = 0;
    while (true) {
        while (at < text.size() && IsSpace(text[at])) {
            ++at;
        }
        if (at == text.size()) {
            return MCI_OK;
        }
        std::string word;
        bool quoted = false;
        for (; at < text.size() && (quoted || !IsSpace(text[at])); ++at) {
            if (text[at] == '"') {
                quoted = !quoted;
            } else {
                word += text[at];
            }
        }
        if (quoted) {
            return MCIERR_NO_CLOSING_QUOTE;
        }
        words.push_back(std::move(word));
    }
}

MCIERROR ParseMilliseconds(const std::string& word, std::uint32_t& value) {
    if (word == "start") {
        value = 0;
        return MCI_OK;
    }
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    return error == std::errc() && end == word.data() + word.size() ? MCI_OK : MCIERR_BAD_INTEGER;
}

MCIERROR ParseOpen(const std::vector<std::string>& words, TMciCommand& command) {
    const std::size_t mark = words[1].find('!');
    if (mark == std::string::npos || Lower(words[1].substr(0, mark)) != "sequencer") {
        return MCIERR_INVALID_DEVICE_NAME;
    }
    command.FileName = words[1].substr(mark + 1);
    for (std::size_t i = 2; i < words.size(); ++i) {
        const std::string keyword = Lower(words[i]);
        if (keyword == "alias") {
            if (++i == words.size()) {
                return MCIERR_MISSING_STRING_ARGUMENT;
            }
            command.Device = Lower(words[i]);
        } else if (keyword != "wait") {
            return MCIERR_UNRECOGNIZED_KEYWORD;
        }
    }
    return command.FileName.empty() || command.Device.empty() ? MCIERR_MISSING_PARAMETER : MCI_OK;
}

MCIERROR ParseOnDevice(const std::vector<std::string>& words, TMciCommand& command) {
    command.Device = Lower(words[1]);
    bool seekTarget = false;
    for (std::size_t i = 2; i < words.size(); ++i) {
        const std::string keyword = Lower(words[i]);
        if (keyword == "wait") {
            if (command.Verb == TMciVerb::Play) {
                return MCIERR_UNSUPPORTED_FUNCTION;
            }
        } else if (keyword == "notify" && command.Verb == TMciVerb::Play) {
            command.Notify = true;
        } else if (keyword == "to" && command.Verb == TMciVerb::Seek) {
            if (++i == words.size()) {
                return MCIERR_MISSING_PARAMETER;
            }
            if (const MCIERROR error = ParseMilliseconds(Lower(words[i]), command.SeekTo)) {
                return error;
            }
            seekTarget = true;
        } else {
            return MCIERR_UNRECOGNIZED_KEYWORD;
        }
    }
    return command.Verb == TMciVerb::Seek && !seekTarget ? MCIERR_MISSING_PARAMETER : MCI_OK;
}
} // namespace

MCIERROR ParseMciCommand(std::string_view text, TMciCommand& command) {
    command = {};
    std::vector<std::string> words;
    if (const MCIERROR error = Tokenize(text, words)) {
        return error;
    }
    if (words.empty()) {
        return MCIERR_MISSING_COMMAND_STRING;
    }
    const std::string verb = Lower(words[0]);
    if (verb == "open") {
        command.Verb = TMciVerb::Open;
    } else if (verb == "seek") {
        command.Verb = TMciVerb::Seek;
    } else if (verb == "play") {
        command.Verb = TMciVerb::Play;
    } else if (verb == "stop") {
        command.Verb = TMciVerb::Stop;
    } else if (verb == "close") {
        command.Verb = TMciVerb::Close;
    } else {
        return MCIERR_UNRECOGNIZED_COMMAND;
    }
    if (words.size() < 2 || words[1].empty()) {
        return MCIERR_MISSING_DEVICE_NAME;
    }
    return command.Verb == TMciVerb::Open ? ParseOpen(words, command)
                                          : ParseOnDevice(words, command);
}
