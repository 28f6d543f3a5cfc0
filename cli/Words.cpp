#include "cli/Words.h"

#include "cli/Failure.h"

namespace varmo::cli {

std::vector<std::string> SplitWords(const std::string& line)
{
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    char quote = 0;
    for (const char c : line) {
        if (quote != 0) {
            if (c == quote)
                quote = 0;
            else
                word += c;
        } else if (c == '"' || c == '\'') {
            quote = c;
            inWord = true;
        } else if (c == ' ' || c == '\t') {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quote != 0)
        throw UsageError(std::string("niezamknięty cudzysłów ") + quote);
    if (inWord)
        words.push_back(word);
    return words;
}

}  // namespace varmo::cli
