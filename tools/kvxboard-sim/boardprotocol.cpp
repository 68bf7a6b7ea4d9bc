#include "boardprotocol.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace kvxsim {

namespace {

struct CrcTable {
    std::uint32_t t[256];
    CrcTable()
    {
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1u) ? (0xEDB88320u ^ (c >> 1)) : (c >> 1);
            t[i] = c;
        }
    }
};

const CrcTable &table()
{
    static const CrcTable tab;
    return tab;
}

std::string hex(std::uint32_t v, int digits)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*X", digits, static_cast<unsigned>(v));
    return buf;
}

} // namespace

std::uint32_t crc32Update(std::uint32_t state, const std::uint8_t *data, std::size_t n)
{
    const CrcTable &tab = table();
    for (std::size_t i = 0; i < n; ++i)
        state = tab.t[(state ^ data[i]) & 0xFFu] ^ (state >> 8);
    return state;
}

std::uint32_t crc32(const std::uint8_t *data, std::size_t n)
{
    return ~crc32Update(kCrcInit, data, n);
}

std::uint32_t crc32(const std::string &bytes)
{
    return crc32(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
}

BoardProtocol::BoardProtocol(BoardOptions options)
    : opts_(std::move(options)), flash_(kFlashSize, 0xFF)
{
    page_.reserve(kPageSize);
}

std::vector<BoardProtocol::Reply> BoardProtocol::feed(const std::string &bytes)
{
    std::vector<Reply> out;
    for (char c : bytes)
        out.push_back(feed(static_cast<std::uint8_t>(c)));
    return out;
}

void BoardProtocol::abortCommand()
{
    mode_ = Mode::Command;
    got_ = 0;
    page_.clear();
}

void BoardProtocol::enterStep(const std::string &step)
{
    step_ = step;
    if (!opts_.silentFrom.empty() && step == opts_.silentFrom)
        silenced_ = true;
    if (!opts_.floodFrom.empty() && step == opts_.floodFrom)
        flooding_ = true;
}

BoardProtocol::Reply BoardProtocol::reply(std::string data)
{
    Reply r;
    if (!isSilent())
        r.data = std::move(data);
    return r;
}

BoardProtocol::Reply BoardProtocol::finish(const std::string &step, std::string answer,
                                           std::string traceLine)
{
    trace_.push_back(std::move(traceLine));
    mode_ = Mode::Command;
    got_ = 0;
    if (answer == "\r" && !opts_.noCrAfter.empty() && step == opts_.noCrAfter)
        answer = "?";
    Reply r;
    r.commandDone = true;
    if (!dropped_ && !opts_.dropAt.empty() && step == opts_.dropAt) {
        dropped_ = true;
        r.drop = true;
    } else if (!isSilent()) {
        r.data = std::move(answer);
    }
    return r;
}

BoardProtocol::Reply BoardProtocol::feed(std::uint8_t byte)
{
    received_.push_back(static_cast<char>(byte));

    switch (mode_) {
    case Mode::Command:
        switch (byte) {
        case 'S': { // a restarted bootloader answering the detection
            pageCount_ = 0;
            crcState_ = kCrcInit;
            address_ = 0;
            enterStep("S");
            Reply r = finish("S", opts_.queryAnswer, "S");
            r.delayMs = opts_.queryAnswerDelayMs;
            return r;
        }
        case 'P':
            pageCount_ = 0;
            crcState_ = kCrcInit;
            enterStep("P");
            return finish("P", "\r", "P");
        case 'e': {
            enterStep("e");
            flash_.assign(kFlashSize, 0xFF);
            Reply r = finish("e", "\r", "e");
            r.flashChanged = true;
            return r;
        }
        case 'A':
            enterStep("A");
            mode_ = Mode::Address;
            got_ = 0;
            return {};
        case '#': {
            ++pageCount_;
            enterStep("#" + std::to_string(pageCount_));
            mode_ = Mode::Page;
            got_ = 0;
            page_.clear();
            pageCrcState_ = kCrcInit;
            if (opts_.earlyAnswerInPage == 0)
                return reply("\r");
            return {};
        }
        case '$': {
            enterStep("$");
            std::uint32_t crc = pageCrc();
            if (opts_.wrongCrc)
                crc = ~crc;
            std::string answer;
            for (int shift = 24; shift >= 0; shift -= 8)
                answer.push_back(static_cast<char>((crc >> shift) & 0xFFu));
            if (opts_.crcExtraByte)
                answer.push_back('\r');
            return finish("$", answer, "$");
        }
        default:
            enterStep("?");
            return finish("?", "?", "? " + hex(byte, 2));
        }

    case Mode::Address:
        addrBytes_[got_++] = byte;
        if (got_ < 2)
            return {};
        address_ = ((std::uint32_t(addrBytes_[0]) << 8) | addrBytes_[1]) * 2u;
        return finish("A", "\r", "A " + hex(addrBytes_[0], 2) + " " + hex(addrBytes_[1], 2));

    case Mode::Page: {
        page_.push_back(byte);
        crcState_ = crc32Update(crcState_, &byte, 1);
        pageCrcState_ = crc32Update(pageCrcState_, &byte, 1);
        ++got_;
        if (got_ < kPageSize) {
            if (opts_.earlyAnswerInPage > 0 && got_ == std::size_t(opts_.earlyAnswerInPage))
                return reply("\r");
            return {};
        }
        bool fits = address_ + kPageSize <= kFlashSize;
        if (fits)
            std::copy(page_.begin(), page_.end(), flash_.begin() + address_);
        address_ += kPageSize;
        page_.clear();
        Reply r = finish(step_, fits ? "\r" : "?",
                         "# 8192 " + hex(~pageCrcState_, 8));
        r.pageWritten = true;
        r.flashChanged = fits;
        return r;
    }
    }
    return {};
}

} // namespace kvxsim
