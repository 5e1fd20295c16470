#include "refhost/files/project_outline.h"

#include "refhost/core/text_conversion.h"
#include "refhost/files/input_file.h"
#include "refhost/files/project_document.h"
#include "refhost/project/audio_event.h"
#include "refhost/project/clip.h"
#include "refhost/project/project.h"
#include "refhost/project/project_factory.h"
#include "refhost/project/project_object.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace Brennovar::RefHost {

namespace {

using namespace ProjectDocument;
using Index = std::uint32_t;

/// Thrown inside the reader when it declines the text.
struct Decline {};

[[noreturn]] void decline() {
    throw Decline{};
}

/// A list in pieces of at most 64 KiB. Pieces of that size come from the memory the allocator
/// keeps rather than fresh pages, and go back to it when the list goes, so that the memory of
/// the outline serves the objects made after it; and the list never grows by copying.
template <class T>
class PieceList {
public:
    std::size_t size() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }
    T& operator[](std::size_t index) noexcept {
        return pieces_[index / kPerPiece][index % kPerPiece];
    }
    const T& operator[](std::size_t index) const noexcept {
        return pieces_[index / kPerPiece][index % kPerPiece];
    }
    /// A new element at the end, value-initialized.
    T& emplace_back() {
        if (size_ == pieces_.size() * kPerPiece) {
            pieces_.reserve(pieces_.size() + 1);
            // Each element is written when it is added.
            pieces_.push_back(std::make_unique_for_overwrite<T[]>(kPerPiece));
        }
        T& added = (*this)[size_];
        added = T();
        ++size_;
        return added;
    }
    void push_back(const T& value) { emplace_back() = value; }

private:
    static constexpr std::size_t kPerPiece = std::bit_floor((std::size_t{1} << 16) / sizeof(T));

    std::vector<std::unique_ptr<T[]>> pieces_;
    std::size_t size_ = 0;
};

/// A text of the document, decoded, in the reader's texts.
struct Text {
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
};

// The members of objects on tracks and of tracks, one bit each.
constexpr std::uint16_t kKind = 1 << 0;
constexpr std::uint16_t kName = 1 << 1;
constexpr std::uint16_t kDescription = 1 << 2;
constexpr std::uint16_t kClip = 1 << 3;
constexpr std::uint16_t kStart = 1 << 4;
constexpr std::uint16_t kEnd = 1 << 5;
constexpr std::uint16_t kLength = 1 << 6;
constexpr std::uint16_t kSelected = 1 << 7;
constexpr std::uint16_t kAttributes = 1 << 8;
constexpr std::uint16_t kEvents = 1 << 9;
constexpr std::uint16_t kMarkers = 1 << 10;
constexpr std::uint16_t kChildren = 1 << 11;
constexpr std::uint16_t kNotes = 1 << 12;

std::uint16_t memberOf(std::string_view key) noexcept {
    switch (key.size()) {
    case 3:
        return key == "end" ? kEnd : 0;
    case 4:
        return key == "kind" ? kKind : key == "name" ? kName : key == "clip" ? kClip : 0;
    case 5:
        return key == "start" ? kStart : key == "notes" ? kNotes : 0;
    case 6:
        return key == "length" ? kLength : key == "events" ? kEvents : 0;
    case 7:
        return key == "markers" ? kMarkers : 0;
    case 8:
        return key == "selected" ? kSelected : key == "children" ? kChildren : 0;
    case 10:
        return key == "attributes" ? kAttributes : 0;
    case 11:
        return key == "description" ? kDescription : 0;
    default:
        return 0;
    }
}

/// The bit of childMember(holder).
std::uint16_t childBit(ObjectKind holder) noexcept {
    const std::string_view member = childMember(holder);
    return member == "children"  ? kChildren
           : member == "markers" ? kMarkers
           : member == "notes"   ? kNotes
                                 : kEvents;
}

// The members of the document itself.
constexpr std::uint16_t kFormatMember = 1 << 0;
constexpr std::uint16_t kVersionMember = 1 << 1;
constexpr std::uint16_t kNameMember = 1 << 2;
constexpr std::uint16_t kAttributesMember = 1 << 3;
constexpr std::uint16_t kOffersMember = 1 << 4;
constexpr std::uint16_t kActiveMember = 1 << 5;
constexpr std::uint16_t kClipsMember = 1 << 6;
constexpr std::uint16_t kTracksMember = 1 << 7;
constexpr std::uint16_t kSelectionMember = 1 << 8;

std::uint16_t documentMemberOf(std::string_view key) noexcept {
    constexpr std::pair<std::string_view, std::uint16_t> kMembers[] = {
        {"format", kFormatMember},
        {"version", kVersionMember},
        {"name", kNameMember},
        {"attributes", kAttributesMember},
        {"offersNewMarkerTrack", kOffersMember},
        {"activeMarkerTrack", kActiveMember},
        {"clips", kClipsMember},
        {"tracks", kTracksMember},
        {"selection", kSelectionMember},
    };
    for (const auto& member : kMembers)
        if (key == member.first)
            return member.second;
    return 0;
}

/// Lists of objects inside lists of objects, at most: a document that holds folder tracks as
/// deep as they may go, with parts on their tracks, needs three more than kMaxFolderDepth. This
/// bounds the reader's recursion before the kinds are known.
constexpr int kMaxListDepth = kMaxFolderDepth + 4;

/// What a "kind" member names before the holder is known: a kind by its own name, or the name
/// of a kind of marker as a marker track lists it.
constexpr std::uint8_t kPositionName = 27;
constexpr std::uint8_t kCycleName = 28;
static_assert(static_cast<std::uint8_t>(ObjectKind::kMidiNoteChange) < kPositionName);

/// The members few objects have, kept apart so that the outline of a large project stays small.
struct Extra {
    Text clip;
    Index firstAttribute = 0;
    Index attributeCount = 0;
};

/// One object of the project: a track, event, part, note or marker, in document order (its
/// holder comes before it).
struct Node {
    Index holder = 0;
    /// The members the object has.
    std::uint16_t members = 0;
    /// What its "kind" member names (see kPositionName); its kind once the outline is checked.
    std::uint8_t kind = 0;
    bool selected = false;
    Text name;
    Text description;
    /// Its clip and attributes, in extras_; 0 for none.
    Index extra = 0;
    double start = 0.0;
    /// The end; for a marker its length.
    double end = 0.0;

    ObjectKind objectKind() const noexcept { return static_cast<ObjectKind>(kind); }
};
static_assert(sizeof(Node) <= 48);

/// A typed attribute of an object or the project, or (as a string8) a media attribute of a clip.
struct Attribute {
    enum Type : std::uint8_t { kInteger, kString8, kString16 };
    Text key;
    Text text;
    std::int64_t integer = 0;
    Type type = kInteger;
};

struct ClipEntry {
    Text file;
    Index firstAttribute = 0;
    Index attributeCount = 0;
};

/// Whether each byte stands for itself in a JSON string: printable ASCII but quote and
/// backslash (0x7F included, as JSON has it).
constexpr std::array<bool, 256> kPlain = [] {
    std::array<bool, 256> plain{};
    for (int byte = 0x20; byte < 0x80; ++byte)
        plain[static_cast<std::size_t>(byte)] = byte != '"' && byte != '\\';
    return plain;
}();

bool isDigit(char c) noexcept {
    return c >= '0' && c <= '9';
}

int hexValue(char c) noexcept {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void appendUtf8(std::string& out, std::uint32_t point) {
    if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0 | (point >> 6));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        out += static_cast<char>(0xE0 | (point >> 12));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (point >> 18));
        out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

/// Reads a document into an outline, checks it, and builds the project of it.
class OutlineReader {
public:
    /// Reads a text held in memory.
    explicit OutlineReader(std::string_view text)
        : at_(text.data()), end_(text.data() + text.size()), size_(text.size()) {}
    /// Reads a file in pieces, so that its text is never held whole.
    explicit OutlineReader(InputFile& file)
        : file_(&file), window_(std::make_unique<char[]>(kWindow)), at_(window_.get()),
          end_(window_.get()), size_(file.size()) {}

    /// Reads the text into the outline, checking its syntax; throws Decline.
    void scan() {
        // The texts are at most as long as the document; their offsets take 32 bits.
        if (size_ > std::uint64_t{1} << 31)
            decline();
        nodes_.emplace_back();
        extras_.emplace_back();
        // Room for the texts of a document of plain names (a tenth of its text), which the
        // system maps as it is used, so that they seldom grow by copying.
        texts_.reserve(
            static_cast<std::size_t>(std::min<std::uint64_t>(size_, kWindow * 1024) / 8));
        skipSpace();
        if (peek() != '{')
            decline();
        object([this](std::string_view key) { readDocumentMember(key); });
        skipSpace();
        if (peek() != '\0' || at_ != end_ || !(members_ & kFormatMember) ||
            !(members_ & kVersionMember))
            decline();
    }

    /// Checks the outline as ProjectFile's document reader checks a document; throws Decline.
    void check() {
        for (Index i = 0; i < clips_.size(); ++i)
            if (!clipIndex_.emplace(view(clips_[i].file), i).second)
                decline();
        for (Index i = 1; i < nodes_.size(); ++i)
            checkNode(nodes_[i]);
        if (members_ & kActiveMember) {
            activeMarkerTrack_ = resolve(view(activeMarkerTrackText_));
            if (nodes_[activeMarkerTrack_].objectKind() != ObjectKind::kMarkerTrack)
                decline();
        }
        std::vector<bool> listed;
        if (members_ & kSelectionMember) {
            listed.resize(nodes_.size());
            for (std::size_t i = 0; i < selection_.size(); ++i) {
                const Index object = resolve(view(selection_[i]));
                if (!nodes_[object].selected || listed[object])
                    decline();
                listed[object] = true;
                selectionOrder_.push_back(object);
            }
        }
        for (Index i = 1; i < nodes_.size(); ++i)
            if (nodes_[i].selected && (listed.empty() || !listed[i]))
                selectionOrder_.push_back(i);
    }

    /// The project of the outline, built as the document reader builds it.
    Project& build(ProjectFactory& host) const {
        Project& project = host.createProject("");
        ProjectObject& root = project.root();
        if (members_ & kNameMember)
            root.assignName(utf16(view(name_)));
        assignAttributes(root, firstAttribute_, attributeCount_);
        if (members_ & kOffersMember)
            project.setOffersNewMarkerTrack(offersNewMarkerTrack_);
        std::vector<Clip*> clips;
        clips.reserve(clips_.size());
        for (const ClipEntry& entry : clips_) {
            Clip& clip = project.addClip(view(entry.file));
            for (Index a = entry.firstAttribute; a < entry.firstAttribute + entry.attributeCount;
                 ++a)
                clip.setMediaAttribute(std::string(view(attributes_[a].key)),
                                       view(attributes_[a].text));
            clips.push_back(&clip);
        }
        PieceList<ProjectObject*> objects;
        objects.push_back(&root);
        for (Index i = 1; i < nodes_.size(); ++i) {
            const Node& node = nodes_[i];
            const Extra& extra = extras_[node.extra];
            const ObjectKind kind = node.objectKind();
            ProjectObject& holder = *objects[node.holder];
            ProjectObject* created = nullptr;
            if (isTrack(kind)) {
                const std::string name = node.members & kName
                                             ? std::string(view(node.name))
                                             : utf8(project.defaultTrackName(kind));
                created = &project.addTrack(kind, name, node.holder == 0 ? nullptr : &holder);
            } else if (isMarker(kind)) {
                created =
                    &project.addMarker(holder, kind, view(node.description), node.start, node.end);
            } else if (kind != ObjectKind::kAudioEvent) {
                created = &project.addObject(holder, kind, view(node.name), node.start,
                                             node.end - node.start);
                created->assignSpan(node.start, node.end);
            } else {
                Clip* clip =
                    node.members & kClip ? clips[clipIndex_.at(view(extra.clip))] : nullptr;
                AudioEvent& event =
                    project.addAudioEvent(holder, view(node.name), node.start,
                                          node.end - node.start, clip, view(node.description));
                event.assignSpan(node.start, node.end);
                created = &event;
            }
            assignAttributes(*created, extra.firstAttribute, extra.attributeCount);
            objects.push_back(created);
        }
        if (members_ & kActiveMember)
            project.setActiveMarkerTrack(objects[activeMarkerTrack_]);
        for (std::size_t i = 0; i < selectionOrder_.size(); ++i)
            project.select(*objects[selectionOrder_[i]]);
        return project;
    }

private:
    static constexpr std::size_t kWindow = std::size_t{1} << 16;

    // Reading the text: at_ and end_ are the rest of the window (for a text in memory, of the
    // text), which refill() fills again from the file. Nothing read is needed again, since
    // strings are copied as they are read, so a window can follow the previous one at once.

    bool refill() {
        if (!file_)
            return false;
        at_ = window_.get();
        end_ = at_ + file_->readSome(window_.get(), kWindow);
        return at_ != end_;
    }

    /// The next byte, NUL at the end (a NUL byte is no more valid than the end, anywhere).
    char peek() { return at_ < end_ || refill() ? *at_ : '\0'; }

    /// Takes the next byte; declines at the end.
    char next() {
        if (at_ == end_ && !refill())
            decline();
        return *at_++;
    }

    void skipSpace() {
        for (;;) {
            while (at_ < end_ && (*at_ == ' ' || *at_ == '\n' || *at_ == '\r' || *at_ == '\t'))
                ++at_;
            if (at_ < end_ || !refill())
                return;
        }
    }

    void expect(char c) {
        if (peek() != c)
            decline();
        ++at_;
    }

    std::string_view view(Text text) const noexcept {
        return std::string_view(texts_).substr(text.offset, text.size);
    }

    /// An object: calls member(key) with the reader at each member's value, which it reads.
    /// The key lasts until the next string is read.
    template <class Member>
    void object(Member&& member) {
        expect('{');
        skipSpace();
        if (peek() == '}') {
            ++at_;
            return;
        }
        for (;;) {
            const std::string_view key = scratch();
            skipSpace();
            expect(':');
            skipSpace();
            member(key);
            skipSpace();
            const char after = peek();
            if (after != ',' && after != '}')
                decline();
            ++at_;
            if (after == '}')
                return;
            skipSpace();
        }
    }

    /// An array: calls element() with the reader at each element, which it reads.
    template <class Element>
    void array(Element&& element) {
        expect('[');
        skipSpace();
        if (peek() == ']') {
            ++at_;
            return;
        }
        for (;;) {
            element();
            skipSpace();
            const char after = peek();
            if (after != ',' && after != ']')
                decline();
            ++at_;
            if (after == ']')
                return;
            skipSpace();
        }
    }

    /// Reads a string into `out`, decoded: its escapes resolved, its UTF-8 checked. Declines a
    /// string that holds U+0000 (no text may: a text reaches the module as a C string).
    void readString(std::string& out) {
        expect('"');
        for (;;) {
            if (at_ == end_ && !refill())
                decline();
            // Runs of bytes that stand for themselves go in at once.
            const char* run = at_;
            while (at_ < end_ && kPlain[static_cast<unsigned char>(*at_)])
                ++at_;
            out.append(run, at_);
            if (at_ == end_)
                continue;
            const auto c = static_cast<unsigned char>(*at_++);
            if (c == '"')
                return;
            if (c == '\\')
                readEscape(out);
            else if (c >= 0x80)
                readSequence(c, out);
            else
                decline();
        }
    }

    /// The rest of a UTF-8 sequence after its lead byte, which must be well formed (RFC 3629:
    /// no overlong form, no surrogate, nothing past U+10FFFF).
    void readSequence(unsigned lead, std::string& out) {
        std::size_t length = 0;
        unsigned low = 0x80;
        unsigned high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            decline();
        }
        out += static_cast<char>(lead);
        for (std::size_t i = 1; i < length; ++i) {
            const auto byte = static_cast<unsigned char>(next());
            if (byte < (i == 1 ? low : 0x80) || byte > (i == 1 ? high : 0xBF))
                decline();
            out += static_cast<char>(byte);
        }
    }

    /// An escape after its backslash.
    void readEscape(std::string& out) {
        switch (next()) {
        case '"':
            out += '"';
            break;
        case '\\':
            out += '\\';
            break;
        case '/':
            out += '/';
            break;
        case 'b':
            out += '\b';
            break;
        case 'f':
            out += '\f';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case 'u': {
            std::uint32_t point = hex4();
            if (point >= 0xD800 && point <= 0xDBFF) {
                if (next() != '\\' || next() != 'u')
                    decline();
                const std::uint32_t low = hex4();
                if (low < 0xDC00 || low > 0xDFFF)
                    decline();
                point = 0x10000 + ((point - 0xD800) << 10) + (low - 0xDC00);
            } else if ((point >= 0xDC00 && point <= 0xDFFF) || point == 0) {
                decline();
            }
            appendUtf8(out, point);
            break;
        }
        default:
            decline();
        }
    }

    std::uint32_t hex4() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const int digit = hexValue(next());
            if (digit < 0)
                decline();
            value = value << 4 | static_cast<std::uint32_t>(digit);
        }
        return value;
    }

    /// A string kept in the outline's texts.
    Text text() {
        if (peek() != '"')
            decline();
        const std::size_t offset = texts_.size();
        readString(texts_);
        return Text{static_cast<std::uint32_t>(offset),
                    static_cast<std::uint32_t>(texts_.size() - offset)};
    }

    /// A string that is needed only until the next one is read (a key, a kind).
    std::string_view scratch() {
        if (peek() != '"')
            decline();
        scratch_.clear();
        readString(scratch_);
        return scratch_;
    }

    /// Keeps a text (read by scratch()) in the outline's texts.
    Text keep(std::string_view text) {
        const std::size_t offset = texts_.size();
        texts_ += text;
        return Text{static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(text.size())};
    }

    bool boolean() {
        const bool value = peek() == 't';
        for (const char c : value ? std::string_view("true") : std::string_view("false"))
            if (next() != c)
                decline();
        return value;
    }

    /// A number as JSON writes it; `integral` when it has neither a fraction nor an exponent.
    std::string_view numberToken(bool& integral) {
        number_.clear();
        const auto digits = [this] {
            if (!isDigit(peek()))
                decline();
            while (isDigit(peek()))
                number_ += *at_++;
        };
        if (peek() == '-')
            number_ += *at_++;
        if (peek() == '0')
            number_ += *at_++;
        else
            digits();
        integral = true;
        if (peek() == '.') {
            number_ += *at_++;
            digits();
            integral = false;
        }
        if (peek() == 'e' || peek() == 'E') {
            number_ += *at_++;
            if (peek() == '+' || peek() == '-')
                number_ += *at_++;
            digits();
            integral = false;
        }
        return number_;
    }

    /// A position or length: any number, as a double. An integer is read as the document
    /// reader reads it, as an integer taken as a double, so that -0 is 0.
    double position() {
        bool integral = false;
        const std::string_view token = numberToken(integral);
        double value = 0.0;
        const std::from_chars_result read =
            std::from_chars(token.data(), token.data() + token.size(), value);
        if (read.ec != std::errc() || read.ptr != token.data() + token.size() ||
            !std::isfinite(value))
            decline();
        return integral && value == 0.0 ? 0.0 : value;
    }

    /// An integer that fits 64 bits with a sign.
    std::int64_t integer() {
        bool integral = false;
        const std::string_view token = numberToken(integral);
        std::int64_t value = 0;
        const std::from_chars_result read =
            std::from_chars(token.data(), token.data() + token.size(), value);
        if (!integral || read.ec != std::errc() || read.ptr != token.data() + token.size())
            decline();
        return value;
    }

    // The document's parts.

    void readDocumentMember(std::string_view key) {
        const std::uint16_t member = documentMemberOf(key);
        if (member == 0 || (members_ & member))
            decline();
        members_ |= member;
        switch (member) {
        case kFormatMember:
            if (scratch() != kFormat)
                decline();
            break;
        case kVersionMember:
            if (integer() != kVersion)
                decline();
            break;
        case kNameMember:
            name_ = text();
            break;
        case kAttributesMember: {
            const auto [first, count] = readAttributes();
            firstAttribute_ = first;
            attributeCount_ = count;
            break;
        }
        case kOffersMember:
            offersNewMarkerTrack_ = boolean();
            break;
        case kActiveMember:
            activeMarkerTrackText_ = text();
            break;
        case kClipsMember:
            array([this] { readClip(); });
            break;
        case kTracksMember:
            readObjects(0, 1);
            break;
        default:
            array([this] { selection_.push_back(text()); });
            break;
        }
    }

    void readClip() {
        ClipEntry entry;
        bool hasFile = false;
        bool hasAttributes = false;
        if (peek() != '{')
            decline();
        object([&](std::string_view key) {
            if (key == "file" && !hasFile) {
                hasFile = true;
                entry.file = text();
            } else if (key == "attributes" && !hasAttributes) {
                hasAttributes = true;
                entry.firstAttribute = static_cast<Index>(attributes_.size());
                if (peek() != '{')
                    decline();
                object([this](std::string_view attributeKey) {
                    if (attributeKey.empty())
                        decline();
                    const Text kept = keep(attributeKey);
                    const Text value = text();
                    Attribute& attribute = attributes_.emplace_back();
                    attribute.key = kept;
                    attribute.text = value;
                    attribute.type = Attribute::kString8;
                });
                entry.attributeCount =
                    static_cast<Index>(attributes_.size()) - entry.firstAttribute;
                checkKeys(entry.firstAttribute, entry.attributeCount);
            } else {
                decline();
            }
        });
        if (!hasFile)
            decline();
        clips_.push_back(entry);
    }

    /// Typed attributes: their first index and count.
    std::pair<Index, Index> readAttributes() {
        const auto first = static_cast<Index>(attributes_.size());
        if (peek() != '{')
            decline();
        object([this](std::string_view key) {
            if (key.empty() || peek() != '{')
                decline();
            Attribute attribute;
            attribute.key = keep(key);
            ++at_;
            skipSpace();
            const std::string_view type = scratch();
            if (type == "integer")
                attribute.type = Attribute::kInteger;
            else if (type == "string8")
                attribute.type = Attribute::kString8;
            else if (type == "string16")
                attribute.type = Attribute::kString16;
            else
                decline();
            skipSpace();
            expect(':');
            skipSpace();
            if (attribute.type == Attribute::kInteger)
                attribute.integer = integer();
            else
                attribute.text = text();
            skipSpace();
            expect('}');
            attributes_.push_back(attribute);
        });
        const auto count = static_cast<Index>(attributes_.size()) - first;
        checkKeys(first, count);
        return {first, count};
    }

    /// Declines keys that are listed twice.
    void checkKeys(Index first, Index count) const {
        if (count < 2)
            return;
        std::vector<std::string_view> keys;
        keys.reserve(count);
        for (Index a = first; a < first + count; ++a)
            keys.push_back(view(attributes_[a].key));
        std::sort(keys.begin(), keys.end());
        if (std::adjacent_find(keys.begin(), keys.end()) != keys.end())
            decline();
    }

    /// A list of objects held by the node `holder`, `depth` lists deep.
    void readObjects(Index holder, int depth) {
        if (depth > kMaxListDepth)
            decline();
        array([this, holder, depth] {
            if (peek() != '{' || nodes_.size() >= std::numeric_limits<Index>::max())
                decline();
            const auto index = static_cast<Index>(nodes_.size());
            nodes_.emplace_back().holder = holder;
            object([this, index, depth](std::string_view key) { readMember(index, key, depth); });
        });
    }

    void readMember(Index index, std::string_view key, int depth) {
        const std::uint16_t member = memberOf(key);
        if (member == 0 || (nodes_[index].members & member))
            decline();
        nodes_[index].members |= member;
        switch (member) {
        case kKind:
            nodes_[index].kind = kindCode(scratch());
            break;
        case kName:
            nodes_[index].name = text();
            break;
        case kDescription:
            nodes_[index].description = text();
            break;
        case kClip: {
            const Text clip = text();
            extraOf(index).clip = clip;
            break;
        }
        case kStart:
            nodes_[index].start = position();
            break;
        case kEnd:
        case kLength:
            nodes_[index].end = position();
            break;
        case kSelected:
            nodes_[index].selected = boolean();
            break;
        case kAttributes: {
            const auto [first, count] = readAttributes();
            extraOf(index).firstAttribute = first;
            extraOf(index).attributeCount = count;
            break;
        }
        default:
            // The list of what the object holds; whether it may hold anything is checked later.
            readObjects(index, depth + 1);
            break;
        }
    }

    /// The node's extra members, made on first use.
    Extra& extraOf(Index index) {
        if (nodes_[index].extra == 0) {
            nodes_[index].extra = static_cast<Index>(extras_.size());
            extras_.emplace_back();
        }
        return extras_[nodes_[index].extra];
    }

    /// What a "kind" member names; declines a name that no holder takes.
    static std::uint8_t kindCode(std::string_view name) {
        if (const std::optional<ObjectKind> kind = kindFromName(name))
            return static_cast<std::uint8_t>(*kind);
        if (name == "position")
            return kPositionName;
        if (name == "cycle")
            return kCycleName;
        decline();
    }

    // Checking.

    ObjectKind kindOf(const Node& node) const {
        const ObjectKind holder = nodes_[node.holder].objectKind();
        if (holder == ObjectKind::kMidiPart && !(node.members & kKind))
            return ObjectKind::kMidiNote;
        if (!(node.members & kKind))
            decline();
        ObjectKind kind = node.objectKind();
        if (holder == ObjectKind::kMarkerTrack) {
            if (node.kind == kPositionName)
                kind = ObjectKind::kPositionMarker;
            else if (node.kind == kCycleName)
                kind = ObjectKind::kCycleMarker;
            else
                decline();
        } else if (node.kind == kPositionName || node.kind == kCycleName) {
            decline();
        }
        if (!canHold(holder, kind))
            decline();
        return kind;
    }

    /// Its holder is checked already.
    void checkNode(Node& node) {
        const ObjectKind kind = kindOf(node);
        node.kind = static_cast<std::uint8_t>(kind);
        std::uint16_t allowed = kKind | kSelected | kAttributes;
        if (isTrack(kind)) {
            allowed |= kName | childBit(kind);
            if (kind == ObjectKind::kFolderTrack) {
                int depth = 1;
                for (Index outer = node.holder;
                     nodes_[outer].objectKind() == ObjectKind::kFolderTrack;
                     outer = nodes_[outer].holder)
                    ++depth;
                if (depth > kMaxFolderDepth)
                    decline();
            }
        } else if (isMarker(kind)) {
            allowed |= kDescription | kStart | kLength;
            if (!(node.members & kStart))
                decline();
            if (!(node.members & kLength))
                node.end = 0.0;
            else if (node.end < 0.0)
                decline();
        } else {
            allowed |= kName | kStart | kEnd;
            if (kind == ObjectKind::kAudioEvent)
                allowed |= kDescription | kClip;
            else if (holdsChildren(kind))
                allowed |= childBit(kind);
            if (!(node.members & kStart) || !(node.members & kEnd) || node.end < node.start ||
                !std::isfinite(node.end - node.start))
                decline();
            if ((node.members & kClip) && !clipIndex_.contains(view(extras_[node.extra].clip)))
                decline();
        }
        if (node.members & ~allowed)
            decline();
    }

    /// The node a pointer names; declines a pointer that names none.
    Index resolve(std::string_view pointer) {
        if (held_.empty()) {
            // What each node holds, in order: the nodes are in document order.
            firstHeld_.assign(nodes_.size() + 1, 0);
            for (Index i = 1; i < nodes_.size(); ++i)
                ++firstHeld_[nodes_[i].holder + 1];
            for (std::size_t i = 1; i < firstHeld_.size(); ++i)
                firstHeld_[i] += firstHeld_[i - 1];
            held_.resize(nodes_.size());
            std::vector<Index> next(firstHeld_.begin(), firstHeld_.end() - 1);
            for (Index i = 1; i < nodes_.size(); ++i)
                held_[next[nodes_[i].holder]++] = i;
        }
        constexpr Index kNone = 0;
        const Index found = resolvePointer(
            pointer, Index{0}, kNone, [this](Index node) { return nodes_[node].objectKind(); },
            [this](Index node) {
                return std::span<const Index>(held_.data() + firstHeld_[node],
                                              firstHeld_[node + 1] - firstHeld_[node]);
            });
        if (found == kNone)
            decline();
        return found;
    }

    // Building.

    void assignAttributes(ProjectObject& target, Index first, Index count) const {
        for (Index a = first; a < first + count; ++a) {
            const Attribute& attribute = attributes_[a];
            const std::string key(view(attribute.key));
            if (attribute.type == Attribute::kInteger) {
                FTaggedValue tagged = FTaggedValue::fromInteger(attribute.integer);
                target.assignAttribute(key, &tagged);
            } else if (attribute.type == Attribute::kString8) {
                const std::string content(view(attribute.text));
                FTaggedValue tagged = FTaggedValue::fromString8(content.c_str());
                target.assignAttribute(key, &tagged);
            } else {
                const std::u16string content = utf16(view(attribute.text));
                FTaggedValue tagged = FTaggedValue::fromString16(content.c_str());
                target.assignAttribute(key, &tagged);
            }
        }
    }

    InputFile* file_ = nullptr;
    std::unique_ptr<char[]> window_;
    const char* at_;
    const char* end_;
    std::uint64_t size_;
    /// The texts of the outline, decoded, one after the other.
    std::string texts_;
    std::string scratch_;
    std::string number_;

    // The document's own members.
    std::uint16_t members_ = 0;
    Text name_;
    Index firstAttribute_ = 0;
    Index attributeCount_ = 0;
    bool offersNewMarkerTrack_ = true;
    Text activeMarkerTrackText_;
    PieceList<Text> selection_;

    std::vector<ClipEntry> clips_;
    std::unordered_map<std::string_view, Index> clipIndex_;
    /// The root first.
    PieceList<Node> nodes_;
    /// An empty one first, for the nodes without.
    PieceList<Extra> extras_;
    PieceList<Attribute> attributes_;

    // Found by check().
    Index activeMarkerTrack_ = 0;
    PieceList<Index> selectionOrder_;
    /// held_[firstHeld_[n], firstHeld_[n + 1]) are what node n holds, made for pointers.
    std::vector<Index> firstHeld_;
    std::vector<Index> held_;
};

template <class Source>
Project* readOutline(ProjectFactory& host, Source& source) {
    OutlineReader reader(source);
    try {
        reader.scan();
        reader.check();
    } catch (const Decline&) {
        return nullptr;
    }
    return &reader.build(host);
}

} // namespace

Project* ProjectOutline::read(ProjectFactory& host, std::string_view text) {
    return readOutline(host, text);
}

Project* ProjectOutline::read(ProjectFactory& host, InputFile& file) {
    return readOutline(host, file);
}

} // namespace Brennovar::RefHost
