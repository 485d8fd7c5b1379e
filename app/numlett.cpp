#include "app/main_window.h"
#include "app/runtime.h"
#include "logic/number_words.h"

QString Tavola::numlett(std::int64_t &value)
{
    if (value == 0)
        runtime::msgBox(form.get(), QStringLiteral("inserisci numero"));
    numberWords = numberWordTable();
    const std::optional<QString> words = italianWords(value);
    if (!words)
        return QString(); // beyond what the words can say: nothing is spelled or consumed
    value = remainderAfterWords(value);
    return *words;
}
