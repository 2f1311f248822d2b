#pragma once

// A text file read in pieces and handed out line by line as UTF-8, so that
// reading a file of any size holds no more than a piece and its longest line.
//
// A byte-order mark selects UTF-8 or UTF-16; without one the file is UTF-8
// when its bytes are valid UTF-8 and Windows-1252 otherwise, so that files
// saved by spreadsheets on either system keep their accented names. Lines end
// at CR LF, LF or CR.
//
// A file without a mark is read once, as UTF-8 while its bytes are: the first
// bytes that are not make it Windows-1252 from its first line on. When lines
// were handed out by then, the reader starts over, and says so.

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

// The number of bytes of the UTF-8 character that starts with this byte; 1
// for a byte that starts none.
std::size_t Utf8Length(char lead);

class TTextFile {
public:
    // Raises Exception naming the file when it cannot be read.
    explicit TTextFile(const std::string& fileName);
    TTextFile(const TTextFile&) = delete;
    TTextFile& operator=(const TTextFile&) = delete;

    // The next line without its end, valid until the next call; false after
    // the last line, and once where the file starts over (StartedOver).
    // Raises Exception when the file cannot be read.
    bool NextLine(std::string_view& line);
    // NextLine returned false because the file turned out to be Windows-1252
    // after lines of it were handed out as UTF-8: the lines handed out are
    // void, and the next line is the first again.
    bool StartedOver() const { return startedOver_; }

private:
    enum class TEncoding { Utf8, Utf16LE, Utf16BE, Ansi };
    struct TCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    // The encoding of the bytes from the current position on, which is then
    // where the text starts.
    TEncoding DetectEncoding();
    void TextFrom(std::size_t offset);
    // The text read so far is UTF-8 as far as its bytes are whole sequences.
    bool ReadTextIsUtf8();
    void StartOverAsAnsi();
    // Reads up to size bytes into to; 0 at the end of the file.
    std::size_t Read(char* to, std::size_t size);
    // The end of the line that starts at start_: its CR or LF, or the end of
    // the text read so far.
    const char* LineEnd();
    // Adds the next piece of text; sets ended_ at the end of the file.
    void ReadPiece();
    // Room for size more bytes of text after the text not handed out yet,
    // which moves to the front of the buffer.
    char* Room(std::size_t size);
    // Decodes what raw_ holds of whole characters, all of it at the end.
    void Decode();

    std::string fileName_;
    std::unique_ptr<std::FILE, TCloser> file_;
    TEncoding encoding_ = TEncoding::Utf8;
    // Bytes read but not decoded yet: half a UTF-16 character at most.
    std::string raw_;
    // The decoded text is [0, end_) of the buffer, and what stands from
    // start_ on is not handed out yet. The buffer keeps its size, so that
    // reading a piece does not fill it first.
    std::string buffer_;
    std::size_t start_ = 0;
    std::size_t end_ = 0;
    // The first LF and the first CR at or after start_, end_ when there is
    // none, or npos when not looked for since the last piece.
    std::size_t lf_ = std::string::npos;
    std::size_t cr_ = std::string::npos;
    bool ended_ = false;
    // A file without a mark whose bytes were all UTF-8 so far, up to verified_.
    bool verifying_ = false;
    std::size_t verified_ = 0;
    bool handedOut_ = false;
    bool startedOver_ = false;
};
