// The HTTP client: writes the request, then reads the answer's status line, headers and body
// (of announced length, chunked, or up to the end of the connection) through the caller's
// callbacks. Every line and count read from the peer is checked where it enters.
#include "service/http_client.h"

#include "service/http_socket.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <memory>

namespace http {
namespace {

// Longest status, header or chunk-size line accepted, and most header lines of one answer: a
// longer or endless head is a broken or hostile answer, not something to hold in memory.
constexpr std::size_t kMaxLineBytes = 8192;
constexpr std::size_t kMaxHeaderLines = 100;
// Bodies are read in blocks of this size: under Wine each receive is a round trip through the
// wine server, and small blocks slowed the package download several times over.
constexpr std::size_t kBodyBlockBytes = 1 << 20;

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool lessIgnoringCase(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(lowerAscii(x)) <
               static_cast<unsigned char>(lowerAscii(y));
    });
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// True for bytes that must not reach a header value: a lone CR or other control inside a value
// would split or corrupt a request that repeats it (an ETag sent back in If-Range).
bool isControl(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t') || byte == 0x7F;
}

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// ---- the request -------------------------------------------------------------------------

void appendEscaped(std::string& out, unsigned char byte)
{
    char hex[4];
    std::snprintf(hex, sizeof hex, "%%%02X", byte);
    out += hex;
}

// The path as peers have always received it: spaces, controls, bytes above 0x7F and the
// characters + ' , ; escaped, everything else (an escape already in the path included) as is.
std::string escapedPath(const std::string& path)
{
    static constexpr std::string_view kEscaped = " +',;";
    std::string out;
    out.reserve(path.size());
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 || isControl(c) || c == '\t' || kEscaped.find(c) != kEscaped.npos)
            appendEscaped(out, byte);
        else
            out += c;
    }
    return out;
}

std::string hostField(const Origin& origin)
{
    const bool ipv6 = origin.host.find(':') != std::string::npos;
    const std::string host = ipv6 ? "[" + origin.host + "]" : origin.host;
    return origin.port == 80 ? host : host + ":" + std::to_string(origin.port);
}

bool sendsLength(const Request& request)
{
    return !request.body.empty() || request.method == "POST" || request.method == "PUT";
}

// The caller's fields, then the client's own where the caller gave none, sorted by name
// without regard to case (fields of one name keep their order).
std::vector<std::pair<std::string, std::string>>
requestFields(const Request& request, const Origin& origin, const std::string& userAgent)
{
    Headers all = request.headers;
    const auto addDefault = [&all](const char* name, std::string value) {
        if (!value.empty() && !all.has(name)) all.add(name, std::move(value));
    };
    addDefault("Host", hostField(origin));
    addDefault("Accept", "*/*");
    addDefault("User-Agent", userAgent);
    if (sendsLength(request)) addDefault("Content-Length", std::to_string(request.body.size()));
    if (!request.body.empty()) addDefault("Content-Type", "text/plain");
    auto fields = all.fields();
    std::stable_sort(fields.begin(), fields.end(), [](const auto& a, const auto& b) {
        return lessIgnoringCase(a.first, b.first);
    });
    return fields;
}

std::string requestBytes(const Request& request, const Origin& origin, const std::string& userAgent)
{
    std::string bytes = request.method + " " + escapedPath(request.path) + " HTTP/1.1\r\n";
    for (const auto& [name, value] : requestFields(request, origin, userAgent))
        bytes += name + ": " + value + "\r\n";
    bytes += "\r\n";
    return bytes + request.body;
}

// ---- reading the answer ------------------------------------------------------------------

// Reads the answer through a small look-ahead buffer; large reads of the body bypass it.
class AnswerReader {
public:
    AnswerReader(Socket& socket, int seconds) : socket_(socket), seconds_(seconds) {}

    // The next line without its LF (nor a CR before it). False when the connection ended or
    // failed before a LF, or the line is longer than kMaxLineBytes.
    bool readLine(std::string& line)
    {
        line.clear();
        for (;;) {
            if (start_ == end_ && !fill()) return false;
            const char* from = buffer_ + start_;
            const char* to = buffer_ + end_;
            const char* lf = std::find(from, to, '\n');
            line.append(from, lf);
            start_ = static_cast<std::size_t>(lf - buffer_) + (lf == to ? 0 : 1);
            if (line.size() > kMaxLineBytes) return false;
            if (lf != to) break;
        }
        if (!line.empty() && line.back() == '\r') line.pop_back();
        return true;
    }

    // Reads at most `capacity` bytes: the count, 0 when the peer closed, -1 on failure.
    long readSome(char* out, std::size_t capacity)
    {
        if (start_ == end_) return socket_.receive(out, capacity, seconds_);
        const std::size_t count = std::min(capacity, end_ - start_);
        std::copy_n(buffer_ + start_, count, out);
        start_ += count;
        return static_cast<long>(count);
    }

private:
    bool fill()
    {
        const long count = socket_.receive(buffer_, sizeof buffer_, seconds_);
        if (count <= 0) return false;
        start_ = 0;
        end_ = static_cast<std::size_t>(count);
        return true;
    }

    Socket& socket_;
    const int seconds_;
    char buffer_[4096];
    std::size_t start_ = 0;
    std::size_t end_ = 0;
};

// "HTTP/1.0 200 OK" or "HTTP/1.1 404" (a reason is optional): the status, or nothing.
std::optional<int> parseStatusLine(std::string_view line)
{
    if (!startsWith(line, "HTTP/1.0 ") && !startsWith(line, "HTTP/1.1 ")) return std::nullopt;
    line.remove_prefix(9);
    if (line.size() < 3 || (line.size() > 3 && line[3] != ' ')) return std::nullopt;
    if (!std::all_of(line.begin(), line.begin() + 3, [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    if (line.find('\r') != line.npos) return std::nullopt;
    return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
}

// Adds "Name: value" to `headers`, blanks around the value trimmed. A line without a colon, with
// an empty value or with a control character in the value adds nothing.
void addHeaderLine(std::string_view line, Headers& headers)
{
    const std::size_t colon = line.find(':');
    if (colon == line.npos || colon == 0) return;
    const std::string_view value = trimBlanks(line.substr(colon + 1));
    if (value.empty() || std::any_of(value.begin(), value.end(), isControl)) return;
    headers.add(std::string(line.substr(0, colon)), std::string(value));
}

// Reads header lines up to the empty line that ends them.
bool readHeaders(AnswerReader& reader, Headers& headers)
{
    std::string line;
    for (std::size_t count = 0; count <= kMaxHeaderLines; ++count) {
        if (!reader.readLine(line)) return false;
        if (line.empty()) return true;
        addHeaderLine(line, headers);
    }
    return false;
}

// The final answer's status line and headers; interim 1xx answers before it are skipped.
bool readHead(AnswerReader& reader, ResponseHead& head)
{
    std::string line;
    do {
        head = ResponseHead();
        if (!reader.readLine(line)) return false;
        const auto status = parseStatusLine(line);
        if (!status) return false;
        head.status = *status;
        if (!readHeaders(reader, head.headers)) return false;
    } while (head.status >= 100 && head.status < 200 && head.status != 101);
    return true;
}

std::optional<std::uint64_t> parseDecimal(std::string_view text)
{
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// A chunk-size line: hexadecimal digits, then optionally blanks or ";" and extensions.
std::optional<std::uint64_t> parseChunkSize(std::string_view line)
{
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), value, 16);
    if (error != std::errc() || end == line.data()) return std::nullopt;
    const std::string_view rest(end, static_cast<std::size_t>(line.data() + line.size() - end));
    if (!rest.empty() && !isBlank(rest.front()) && rest.front() != ';') return std::nullopt;
    return value;
}

// The codings a Content-Encoding or Transfer-Encoding value lists, in lower case, "identity"
// (no coding) left out.
std::vector<std::string> codingsOf(std::string_view value)
{
    std::vector<std::string> codings;
    while (!value.empty()) {
        const std::size_t comma = std::min(value.find(','), value.size());
        const std::string_view coding = trimBlanks(value.substr(0, comma));
        value.remove_prefix(std::min(comma + 1, value.size()));
        if (coding.empty() || equalsIgnoringCase(coding, "identity")) continue;
        codings.emplace_back(coding);
        for (char& c : codings.back()) c = lowerAscii(c);
    }
    return codings;
}

// Reads one answer's body into the request's callbacks.
class BodyReader {
public:
    BodyReader(AnswerReader& reader, const Request& request)
        : reader_(reader), request_(request), block_(new char[kBodyBlockBytes])
    {
    }

    Error read(const Headers& headers)
    {
        const auto transfer = codingsOf(headers.value("Transfer-Encoding"));
        if (!transfer.empty())
            return transfer == std::vector<std::string>{"chunked"} ? readChunked() : Error::Read;
        if (!headers.has("Content-Length")) return readToEnd();
        const auto length = parseDecimal(headers.value("Content-Length"));
        return length ? readLength(*length, true) : Error::Read;
    }

private:
    Error readLength(std::uint64_t length, bool reportProgress)
    {
        for (std::uint64_t received = 0; received < length;) {
            const auto wanted = static_cast<std::size_t>(
                std::min<std::uint64_t>(length - received, kBodyBlockBytes));
            const long count = reader_.readSome(block_.get(), wanted);
            if (count <= 0) return Error::Read;
            received += static_cast<std::uint64_t>(count);
            if (!deliver(static_cast<std::size_t>(count))) return Error::Canceled;
            if (reportProgress && request_.onProgress && !request_.onProgress(received, length))
                return Error::Canceled;
        }
        return Error::Success;
    }

    Error readChunked()
    {
        std::string line;
        for (;;) {
            if (!reader_.readLine(line)) return Error::Read;
            const auto size = parseChunkSize(line);
            if (!size) return Error::Read;
            if (*size == 0) return readTrailers();
            if (const Error error = readLength(*size, false); error != Error::Success) return error;
            if (!reader_.readLine(line) || !line.empty()) return Error::Read;
        }
    }

    Error readTrailers()
    {
        Headers ignored;
        return readHeaders(reader_, ignored) ? Error::Success : Error::Read;
    }

    Error readToEnd()
    {
        for (;;) {
            const long count = reader_.readSome(block_.get(), kBodyBlockBytes);
            if (count < 0) return Error::Read;
            if (count == 0) return Error::Success;
            if (!deliver(static_cast<std::size_t>(count))) return Error::Canceled;
        }
    }

    bool deliver(std::size_t size)
    {
        return !request_.onBody || request_.onBody(block_.get(), size);
    }

    AnswerReader& reader_;
    const Request& request_;
    std::unique_ptr<char[]> block_;
};

Error readAnswer(AnswerReader& reader, const Request& request, ResponseHead& head)
{
    if (!readHead(reader, head)) return Error::Read;
    if (head.status == 204) return Error::Success;
    if (request.onHead && !request.onHead(head)) return Error::Canceled;
    // Nothing here decodes: a coded body would reach the caller as if it were the content.
    if (!codingsOf(head.headers.value("Content-Encoding")).empty()) return Error::Read;
    return BodyReader(reader, request).read(head.headers);
}

}  // namespace

const char* errorName(Error error)
{
    switch (error) {
    case Error::Success: return "Success";
    case Error::Connection: return "Connection";
    case Error::ConnectionTimeout: return "ConnectionTimeout";
    case Error::Read: return "Read";
    case Error::Write: return "Write";
    case Error::Canceled: return "Canceled";
    }
    return "Unknown";
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

void Headers::add(std::string name, std::string value)
{
    fields_.emplace_back(std::move(name), std::move(value));
}

bool Headers::has(std::string_view name) const
{
    return std::any_of(fields_.begin(), fields_.end(),
                       [name](const auto& field) { return equalsIgnoringCase(field.first, name); });
}

const std::string& Headers::value(std::string_view name) const
{
    static const std::string kNone;
    for (const auto& [fieldName, fieldValue] : fields_)
        if (equalsIgnoringCase(fieldName, name)) return fieldValue;
    return kNone;
}

std::optional<Origin> parseOrigin(std::string_view text)
{
    if (startsWith(text, "http://"))
        text.remove_prefix(7);
    else if (text.find("://") != text.npos)
        return std::nullopt;

    Origin origin;
    std::size_t hostEnd;
    if (startsWith(text, "[")) {
        hostEnd = text.find(']');
        if (hostEnd == text.npos || hostEnd == 1) return std::nullopt;
        origin.host = std::string(text.substr(1, hostEnd - 1));
        ++hostEnd;
    } else {
        hostEnd = std::min(text.find(':'), text.size());
        origin.host = std::string(text.substr(0, hostEnd));
        if (origin.host.empty() || origin.host.find_first_of("/?#[]@ ") != std::string::npos)
            return std::nullopt;
    }
    const std::string_view rest = text.substr(hostEnd);
    if (rest.empty()) return origin;
    const auto port = rest.front() == ':' ? parseDecimal(rest.substr(1)) : std::nullopt;
    if (!port || *port == 0 || *port > 65535) return std::nullopt;
    origin.port = static_cast<std::uint16_t>(*port);
    return origin;
}

Client::Client(Origin origin, ClientSettings settings)
    : origin_(std::move(origin)), settings_(std::move(settings))
{
}

Result Client::send(const Request& request) const
{
    if (request.path.empty()) return {Error::Connection, 0};
    Socket socket;
    switch (socket.connect(origin_.host, origin_.port, settings_.connectSeconds)) {
    case ConnectOutcome::Connected: break;
    case ConnectOutcome::TimedOut: return {Error::ConnectionTimeout, 0};
    case ConnectOutcome::Failed: return {Error::Connection, 0};
    }
    const std::string bytes = requestBytes(request, origin_, settings_.userAgent);
    if (!socket.sendAll(bytes.data(), bytes.size(), settings_.writeSeconds))
        return {Error::Write, 0};
    AnswerReader reader(socket, settings_.readSeconds);
    ResponseHead head;
    const Error error = readAnswer(reader, request, head);
    return {error, error == Error::Success ? head.status : 0};
}

}  // namespace http
