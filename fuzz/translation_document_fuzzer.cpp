// Fuzz target for the translation document readers: any bytes must be read or refused with a
// message, never crash, hang or read outside the document. Both readers see every input, so
// the XML reader also gets documents without a byte-order mark and the tokenizer documents
// with one.
#include "localization/message_service.h"
#include "localization/translation_table.h"
#include "localization/translation_tokenizer.h"
#include "localization/xml_translation_reader.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace Brennovar::Zintara;
    static const bool silenced = (MessageService::setHandler([](std::string_view) {}), true);
    (void)silenced;

    const std::span<const std::uint8_t> bytes(data, size);
    TranslationTable table(TranslationTable::Registration::kPrivate);
    table.initialiseForLanguage("de", TranslationTable::DocumentSources::kNone);
    TranslationTokenizer(bytes, table, true).run();
    XmlTranslationReader(table, true).read(bytes);
    if (size <= static_cast<std::size_t>(INT32_MAX)) {
        table.loadFromMemory(data, static_cast<Brennovar::int32>(size), nullptr);
        std::string message;
        int line = 0;
        TranslationTable::validate(data, static_cast<Brennovar::int32>(size), message, line);
    }
    table.translate(u"Media");
    return 0;
}
