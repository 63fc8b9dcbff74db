// Filling a catalogue form: each conversion takes the next word as it is, so that no word is
// ever read as a format.
#include "cli/cli_texts.h"

std::string TextOf(Language language, TextId text, const std::vector<std::string>& words)
{
    const std::string form = TextUtf8(text, language);
    std::string filled;
    filled.reserve(form.size());
    auto word = words.begin();
    for (size_t at = 0; at < form.size(); ++at) {
        const char next = at + 1 < form.size() ? form[at + 1] : '\0';
        if (form[at] == '%' && next == '%') {
            filled += '%';
            ++at;
        } else if (form[at] == '%' && (next == 's' || next == 'd') && word != words.end()) {
            filled += *word++;
            ++at;
        } else {
            filled += form[at];
        }
    }
    return filled;
}
