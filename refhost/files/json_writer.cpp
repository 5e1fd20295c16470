#include "refhost/files/json_writer.h"

#include <nlohmann/json.hpp>
#include <ostream>

namespace Brennovar::RefHost {

// The library's serializer, for its escaping and its number format, so that what this writer
// writes is byte for byte what a dumped document would be.
class JsonWriter::Escaper {
public:
    explicit Escaper(std::string& out)
        : serializer_(nlohmann::detail::output_adapter<char>(out), ' ',
                      nlohmann::json::error_handler_t::replace) {}

    /// Writes the value: a text quoted and escaped, a number in its shortest form.
    template <class T>
    void write(T value) {
        serializer_.dump(nlohmann::json(value), false, false, 0);
    }

private:
    nlohmann::detail::serializer<nlohmann::json> serializer_;
};

JsonWriter::JsonWriter(std::string& out) : out_(out), escaper_(std::make_unique<Escaper>(out)) {}

JsonWriter::JsonWriter(std::ostream& stream)
    : out_(buffer_), stream_(&stream), escaper_(std::make_unique<Escaper>(buffer_)) {}

JsonWriter::~JsonWriter() {
    finish();
}

void JsonWriter::finish() {
    if (stream_ && !out_.empty()) {
        stream_->write(out_.data(), static_cast<std::streamsize>(out_.size()));
        out_.clear();
    }
}

void JsonWriter::newline() {
    out_ += '\n';
    out_.append(2 * counts_.size(), ' ');
}

void JsonWriter::beforeValue() {
    if (stream_ && out_.size() >= (1u << 16))
        finish();
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (counts_.empty())
        return;
    if (counts_.back()++ > 0)
        out_ += ',';
    newline();
}

void JsonWriter::open(char bracket) {
    beforeValue();
    out_ += bracket;
    counts_.push_back(0);
}

void JsonWriter::close(char bracket) {
    const bool empty = counts_.back() == 0;
    counts_.pop_back();
    if (!empty)
        newline();
    out_ += bracket;
}

JsonWriter& JsonWriter::beginObject() {
    open('{');
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    close('}');
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    open('[');
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    close(']');
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
    beforeValue();
    escaper_->write(name);
    out_ += ": ";
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view text) {
    beforeValue();
    escaper_->write(text);
    return *this;
}

JsonWriter& JsonWriter::value(double number) {
    beforeValue();
    escaper_->write(number);
    return *this;
}

JsonWriter& JsonWriter::value(std::int64_t number) {
    beforeValue();
    escaper_->write(number);
    return *this;
}

JsonWriter& JsonWriter::value(bool flag) {
    beforeValue();
    out_ += flag ? "true" : "false";
    return *this;
}

} // namespace Brennovar::RefHost
