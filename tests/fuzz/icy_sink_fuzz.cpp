// The ICY sink under any response headers and any body, delivered in pieces of any size. The
// audio that reaches the buffer and the metadata blocks are worked out here from the body
// alone, independently of the sink, and must match it exactly.
#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "emainloop.h"
#include "icy_stream.h"

namespace
{
// Audio bytes between two length bytes for a header value, or 0 for no metadata: a decimal
// number after optional white space and sign, cut at its first other character; negative
// values frame nothing, values past the int range are the largest int.
int intervalOf(const std::string &value)
{
    size_t at = 0;
    while (at < value.size() && isspace(static_cast<unsigned char>(value[at])))
        ++at;
    bool negative = false;
    if (at < value.size() && (value[at] == '+' || value[at] == '-'))
        negative = value[at++] == '-';
    long long number = 0;
    for (; at < value.size() && isdigit(static_cast<unsigned char>(value[at])); ++at) {
        number = number * 10 + (value[at] - '0');
        if (number > INT_MAX) {
            number = INT_MAX + 1LL;
            break;
        }
    }
    if (negative)
        return 0;
    return number > INT_MAX ? INT_MAX : static_cast<int>(number);
}

struct Framing {
    std::string audio;
    std::vector<std::string> blocks;
};

Framing unframe(const std::string &body, int interval)
{
    Framing out;
    if (interval == 0) {
        out.audio = body;
        return out;
    }
    size_t at = 0;
    while (at < body.size()) {
        const size_t audio = std::min<size_t>(interval, body.size() - at);
        out.audio.append(body, at, audio);
        at += audio;
        if (at >= body.size())
            break;
        const size_t length = static_cast<unsigned char>(body[at++]) * 16;
        if (length > 0 && at + length <= body.size()) {
            const std::string block = body.substr(at, length);
            out.blocks.push_back(block.substr(0, block.find('\0')));
        }
        at += length;
    }
    return out;
}

void check(bool holds, const char *what)
{
    if (!holds) {
        fprintf(stderr, "icy sink: %s\n", what);
        abort();
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    std::map<eString, eString> headers;
    const int present = input.ConsumeIntegral<uint8_t>();
    if (present & 1)
        headers["icy-metaint"] = input.ConsumeRandomLengthString(24);
    if (present & 2)
        headers["icy-name"] = input.ConsumeRandomLengthString(256);
    if (present & 4)
        headers["icy-genre"] = input.ConsumeRandomLengthString(256);
    // Small intervals reach the framing edge cases within a short input.
    if ((present & 9) == 9)
        headers["icy-metaint"] = std::to_string(input.ConsumeIntegralInRange(1, 64));

    int error = 0;
    std::unique_ptr<eHTTPConnection> connection(
        eHTTPConnection::doRequest("http://127.0.0.1:1/", eApp, &error));
    connection->responseHeaders = headers;
    eIOBuffer audio(input.ConsumeIntegralInRange(1, 8192));
    auto sink = std::make_unique<scHTTPStream>(connection.get(), audio);
    std::vector<std::string> blocks;
    sink->metaDataArrived.connect([&blocks](eString text) { blocks.push_back(text); });

    std::string body;
    while (input.remaining_bytes() > 0) {
        const size_t piece = input.ConsumeIntegralInRange<size_t>(0, 16384);
        std::string bytes = input.ConsumeBytesAsString(piece);
        body += bytes;
        sink->haveData(bytes.data(), static_cast<int>(bytes.size()));
    }

    const auto it = headers.find("icy-metaint");
    const Framing expected = unframe(body, it == headers.end() ? 0 : intervalOf(it->second));
    std::string received(audio.size(), '\0');
    audio.peek(received.data(), audio.size());
    check(received == expected.audio, "the audio is not the body less its framing");
    check(blocks == expected.blocks, "the metadata blocks differ");
    for (const auto &block : blocks)
        check(block.size() <= 4080, "a block longer than 4080 bytes");
    check(sink->icyName == (headers.count("icy-name") ? headers["icy-name"] : ""), "name");
    check(sink->icyGenre == (headers.count("icy-genre") ? headers["icy-genre"] : ""), "genre");
    return 0;
}
