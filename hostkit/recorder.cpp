// The message recorder: what the host procedures saw, and its comparison with an expected table
// in the manner of Wine's ok_sequence.
#include <algorithm>
#include <cstdio>

#include "hostkit.h"

namespace hostkit {

namespace {

Recorder* g_active = nullptr;

std::string Hex(unsigned long value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*lx", digits, value);
    return text;
}

bool IsPosMessage(UINT message) { return message == WM_WINDOWPOSCHANGING || message == WM_WINDOWPOSCHANGED; }

std::string Describe(const Message& m) {
    std::string text = Hex(m.message, 4) + " wParam " + Hex(m.wParam, 1) + " lParam " + Hex(m.lParam, 1);
    if (IsPosMessage(m.message)) text += " flags " + Hex(m.pos.flags, 4);
    return text;
}

std::string Describe(const Expected& e) {
    std::string text = Hex(e.message, 4);
    if (e.match & kMatchWParam) text += " wParam " + Hex(e.wParam, 1);
    if (e.match & kMatchLParam) text += " lParam " + Hex(e.lParam, 1);
    if (e.match & kMatchPosFlags) text += " flags " + Hex(e.posFlags, 4);
    if (e.match & kOptional) text += " (optional)";
    return text;
}

bool Matches(const Expected& e, const Message& m) {
    return e.message == m.message && (!(e.match & kMatchWParam) || e.wParam == m.wParam) &&
           (!(e.match & kMatchLParam) || e.lParam == m.lParam) &&
           (!(e.match & kMatchPosFlags) || (IsPosMessage(m.message) && e.posFlags == m.pos.flags));
}

std::string Failure(size_t index, const std::string& what, const std::vector<Message>& actual) {
    std::string text = "message " + std::to_string(index) + ": " + what + "\n  received:";
    for (const Message& m : actual)
        text += " " + Hex(m.message, 4);
    if (actual.empty()) text += " nothing";
    return text;
}

}  // namespace

Recorder::Recorder() : previous_(g_active) { g_active = this; }

Recorder::~Recorder() {
    if (g_active == this) {
        g_active = previous_;
        return;
    }
    // Ended out of order: unlink it from the stack all the same.
    for (Recorder* r = g_active; r; r = r->previous_) {
        if (r->previous_ == this) {
            r->previous_ = previous_;
            break;
        }
    }
}

Recorder* Recorder::Active() { return g_active; }

void Recorder::Watch(HWND hwnd) {
    if (!Watching(hwnd)) watched_.push_back(hwnd);
}

void Recorder::Ignore(UINT message) {
    if (std::find(ignored_.begin(), ignored_.end(), message) == ignored_.end())
        ignored_.push_back(message);
}

void Recorder::Clear() { messages_.clear(); }

bool Recorder::Watching(HWND hwnd) const {
    return std::find(watched_.begin(), watched_.end(), hwnd) != watched_.end();
}

void Recorder::Add(const Message& m) {
    if (std::find(ignored_.begin(), ignored_.end(), m.message) != ignored_.end()) return;
    messages_.push_back(m);
    if (IsPosMessage(m.message) && m.lParam)
        messages_.back().pos = *reinterpret_cast<const WINDOWPOS*>(m.lParam);
}

std::vector<Message> Recorder::For(HWND hwnd) const {
    std::vector<Message> result;
    std::copy_if(messages_.begin(), messages_.end(), std::back_inserter(result),
                 [hwnd](const Message& m) { return m.hwnd == hwnd; });
    return result;
}

size_t Recorder::Count(HWND hwnd, UINT message) const {
    return std::count_if(messages_.begin(), messages_.end(),
                         [=](const Message& m) { return m.hwnd == hwnd && m.message == message; });
}

std::string Recorder::Compare(HWND hwnd, const std::vector<Expected>& expected,
                              bool allow_others) const {
    const std::vector<Message> actual = For(hwnd);
    size_t a = 0, e = 0;
    while (a < actual.size() && e < expected.size()) {
        if (Matches(expected[e], actual[a])) {
            ++a;
            ++e;
        } else if (expected[e].match & kOptional) {
            ++e;
        } else if (allow_others) {
            ++a;
        } else {
            return Failure(a, "expected " + Describe(expected[e]) + ", got " + Describe(actual[a]),
                           actual);
        }
    }
    while (e < expected.size() && (expected[e].match & kOptional))
        ++e;
    if (e < expected.size())
        return Failure(a, "expected " + Describe(expected[e]) + ", got nothing more", actual);
    if (!allow_others && a < actual.size())
        return Failure(a, "unexpected " + Describe(actual[a]) + " after the last expected message",
                       actual);
    return "";
}

}  // namespace hostkit
