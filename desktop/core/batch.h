// The batch of the "Sequence" dialog: generating a numbered sequence into the batch text,
// importing records from text files and naming spreadsheet columns, and exporting the
// encoded records as a UTF-16 text file or an XSL-FO document. Plain functions: the
// dialog owns the fields, the files and the message boxes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform.h"

namespace desktop {

// Ends every record of the batch text: LF CR LF CR.
inline constexpr std::u16string_view RecordSeparator = u"\n\r\n\r";

// The most UTF-16 units a generated batch text may hold; a longer sequence is refused.
inline constexpr std::size_t kBatchTextLimit = std::size_t{1} << 25;

inline constexpr std::u16string_view kLengthMismatch = u"String length does NOT match!";
inline constexpr std::u16string_view kIncorrectValue = u"Incorrect Value";
inline constexpr std::u16string_view kSequenceTooLong = u"Too many records for the batch text.";

// value x 10 + (c - '0') over every unit of `text`, from 0; characters are not checked.
// The arithmetic wraps modulo 2^32 (never overflows), read back as a signed value.
std::int32_t ParseDecimal(std::u16string_view text);

// The fields of the dialog as last read.
struct SequenceFields {
    std::u16string prefix;
    std::u16string start = u"000001";
    std::u16string end = u"000009";
    std::u16string increment = u"1";
    std::u16string suffix;
};

struct SequenceResult {
    std::vector<std::u16string> messages;  // message boxes to show, in order
    bool generated = false;                // the batch text was replaced
};

// Replaces `batchText` with prefix, value zero-padded to the start text's length, suffix and
// RecordSeparator for start, start + increment, ... up to end. End not above start or an
// increment below 1: kIncorrectValue and nothing changes; a text longer than kBatchTextLimit:
// kSequenceTooLong and nothing changes. Start and end texts of different lengths add
// kLengthMismatch first and generation goes on.
SequenceResult GenerateSequence(const SequenceFields& fields, std::u16string& batchText);

// The sequence of GenerateSequence made a number of records at a time, so that a long one can
// let the windows run, show its progress and stop between two steps; GenerateSequence is this
// run to the end. Every check is made at construction, before any record is written: the
// length of the whole text is worked out from the fields, and the text is allocated once.
class SequenceWork {
public:
    static constexpr std::size_t kStepRecords = 65536;

    explicit SequenceWork(const SequenceFields& fields);

    // The message boxes to show before the work, in order (GenerateSequence's messages).
    const std::vector<std::u16string>& Messages() const { return messages_; }
    // Nothing is to be generated (the last message says why).
    bool Refused() const { return refused_; }
    std::size_t Records() const { return records_; }
    // Units of the whole batch text.
    std::size_t Length() const { return text_.size(); }
    std::size_t Done() const { return done_; }
    bool Finished() const { return done_ == records_; }
    // Writes the next `records` records (at least one); nothing once finished.
    void Step(std::size_t records = kStepRecords);
    // The batch text of the records written so far; called once.
    std::u16string Finish();

private:
    std::vector<std::u16string> messages_;
    bool refused_ = false;
    std::u16string prefix_, suffix_;
    std::size_t width_ = 0;
    std::int64_t value_ = 0;
    std::int64_t increment_ = 1;
    std::size_t records_ = 0;
    std::size_t done_ = 0;
    std::u16string text_;
    std::size_t used_ = 0;  // units of text_ written
};

// A1 letters of column `column` (1 is "A", 27 is "AA", 703 is "AAA"); empty below 1.
std::u16string ColumnLetters(std::uint32_t column);

// The letters of a column title such as "AB1": the letters before the first decimal digit when
// that digit is not the first unit, else "A".
std::u16string ChosenColumnLetters(std::u16string_view title);

// Record text to font text (the caller's EncodeSelected); empty when it cannot be encoded.
using RecordEncoder = std::function<std::u16string(std::u16string_view record)>;

// The records of the batch text: the text before each RecordSeparator, in order; text
// after the last separator is no record.
std::vector<std::u16string_view> BatchRecords(std::u16string_view batchText);

// The bytes of the TXT export: byte-order mark FF FE, then UTF-16LE.
std::string TxtExportLayout(std::u16string_view batchText, const RecordEncoder& encode);

// True when `text` holds a unit that an XML 1.0 document cannot carry, not even as a character
// reference: a control character other than TAB, LF and CR, U+FFFE, U+FFFF or an unpaired
// surrogate.
bool HoldsCharacterXmlCannotCarry(std::u16string_view text);

// The bytes of the XSL-FO export (same encoding), one table row per record set in `face` at
// `sizeText` points. "&", "<" and ">" of the texts are written as character references. A
// font text of several lines (the bands of a matrix or stacked symbol) has each line end
// written as one CR LF, and its block keeps the line feeds at a line height of one em, so
// that a formatter sets the bands one under the other without gaps. Control characters
// other than TAB, LF and CR (those of the Code 128 font texts) are written as character
// references in an XML 1.1 document; a document without them keeps the XML 1.0 head. A
// record whose font text no XML carries (U+FFFE, U+FFFF, an unpaired surrogate) gets an
// empty cell, as one that cannot be encoded, and its index (from 0) is added to `emptied`
// when given: the document stays well-formed.
std::string XslFoExportLayout(std::u16string_view batchText, const RecordEncoder& encode,
                        std::u16string_view face, std::u16string_view sizeText,
                        std::vector<std::size_t>* emptied = nullptr);

// The TXT or XSL-FO export built one record at a time, so that a long export can let the
// windows run, show its progress and stop between two records; the two layouts above are
// this run to the end. Time and memory are linear in the batch text and the font texts.
class BatchExport {
public:
    // The TXT layout.
    explicit BatchExport(std::u16string_view batchText);
    // The XSL-FO layout, each record a table row set in `face` at `sizeText` points.
    BatchExport(std::u16string_view batchText, std::u16string_view face, std::u16string_view sizeText);

    std::size_t Records() const { return records_; }
    std::size_t Done() const { return done_; }
    bool Finished() const { return done_ == records_; }
    // Encodes the next record and writes its lines; nothing once finished.
    void Step(const RecordEncoder& encode);
    // The file's text after its byte-order mark, with the records done so far; called once.
    std::u16string Finish();
    // Records (from 0) written as empty XSL-FO cells because no XML carries their font text.
    const std::vector<std::size_t>& Emptied() const { return emptied_; }

private:
    bool xslFo_;
    std::u16string_view rest_;  // the batch text after the records done
    std::size_t records_ = 0;
    std::size_t done_ = 0;
    std::u16string text_;
    std::u16string size_, family_;  // XSL-FO: the cells' attributes as written
    bool xml11_ = false;            // XSL-FO: a control character was written as a reference
    std::vector<std::size_t> emptied_;
};

// The message line's note on the records `emptied` left empty by the XSL-FO export; "" when none.
std::u16string XslFoEmptiedNote(const std::vector<std::size_t>& emptied);

}  // namespace desktop
