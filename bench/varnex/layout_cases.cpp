#include "layout_cases.h"

#include <cstdio>
#include <set>
#include <string>

#include "bar_frame.h"
#include "stopwatch.h"
#include "varnex.h"
#include "window_moves.h"

namespace vbench {

namespace {

// The second size of the resize case: each pass changes the frame's width and height, the bars
// still fitting in their rows.
constexpr SIZE kSmallerFrame{kFrameSize.cx - 40, kFrameSize.cy - 30};

void Resize(HWND frame, SIZE size) {
    SetWindowPos(frame, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string Label(const char* what, int bars) {
    char text[96];
    std::snprintf(text, sizeof text, "%s (N=%d)", what, bars);
    return text;
}

// A note for a check that failed: the figures of that case did not compare equal work.
void NoteMismatch(Report* report, const std::string& what, const std::string& detail) {
    if (!detail.empty()) report->Note("WARNING " + what + ": " + detail);
}

double PerBar(long count, int bars) { return static_cast<double>(count) / bars; }

}  // namespace

void RunLayoutPassCase(const Effort& effort, Report* report) {
    const int n = effort.bars;
    BarFrame f = BuildBarFrame(n);
    if (!f.frame) {
        report->Note(Label("layout pass", n) + ": the frame could not be built, not measured");
        return;
    }
    Settle();
    report->Note("frame N=" + std::to_string(n) + ": " + DescribeRows(f));
    auto pass = [&] { RecalcFrame(f.frame); };

    // A pass over a laid-out frame names every window the layout places; once they are all off
    // their places, a recorded pass says where it puts each one and with which flags.
    const MoveList settled = RecordMoves(f.frame, pass);
    const Replay jiggle(OffPlaces(settled));
    jiggle.Run();
    Settle();
    const MoveList moves = RecordMoves(f.frame, pass);
    Settle();
    const Replay sameFlags(moves), plainFlags(moves, kPlainFlags);

    // Equal work: each side, from the jiggled places, ends with every window where the pass
    // puts it.
    auto jiggled = [&](const std::function<void()>& run) {
        jiggle.Run();
        Settle();
        run();
        std::string mismatch = CheckPlaces(moves);
        Settle();
        return mismatch;
    };
    NoteMismatch(report, Label("layout pass", n), jiggled(pass));
    NoteMismatch(report, Label("bare batch, same flags", n), jiggled([&] { sameFlags.Run(); }));
    NoteMismatch(report, Label("bare batch, plain flags", n), jiggled([&] { plainFlags.Run(); }));
    if (WindowsMoved(moves) != WindowsMoved(settled))
        report->Note("WARNING " + Label("layout pass", n) + ": a jiggled pass moved other windows than a settled one");

    // One sample is one timed pass from the jiggled places, with the queue run before and after
    // it (painting is the same on both sides and is not timed). Sides alternate pass by pass.
    // Whichever frame is measured is on top: only it is painted, as only the library's is when
    // the twin is not there.
    auto raise = [](HWND frame) {
        if (frame) SetWindowPos(frame, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    };
    Twin twin;
    auto sample = [&](const std::function<void()>& run) {
        return [&, run] {
            raise(f.frame);
            jiggle.Run();
            Settle();
            const double ms = TimeMs(run);
            Settle();
            return ms;
        };
    };
    // A settled pass: every window already where the pass puts it, on both sides. Nothing moves
    // or sizes, but SWP_FRAMECHANGED still has every window's frame calculated and drawn again.
    auto settledSample = [&](const std::function<void()>& run) {
        return [&, run] {
            raise(f.frame);
            Settle();
            const double ms = TimeMs(run);
            Settle();
            return ms;
        };
    };
    // The platform's floor: the same moves on a twin of the window tree that nothing manages, so
    // that no procedure of the library's runs for any message the moves send.
    twin = CreateTwin(f.frame);
    const Replay twinJiggle(MapWindows(OffPlaces(settled), twin.of)), twinMoves(MapWindows(moves, twin.of));
    auto twinSample = [&] {
        raise(twin.frame);
        twinJiggle.Run();
        Settle();
        const double ms = TimeMs([&] { twinMoves.Run(); });
        Settle();
        return ms;
    };
    if (twin.frame) {
        raise(twin.frame);
        twinJiggle.Run();
        Settle();
        twinMoves.Run();
        Settle();
        NoteMismatch(report, Label("bare batch on the twin", n), CompareWithTwin(twin));
    }
    std::vector<std::function<double()>> cases = {sample(pass), sample([&] { sameFlags.Run(); }),
                                                  sample([&] { plainFlags.Run(); }), settledSample(pass),
                                                  settledSample([&] { sameFlags.Run(); })};
    if (twin.frame) cases.push_back(twinSample);
    const auto samples = Interleave(effort.rounds, cases);
    if (twin.frame)
        report->Add(Timed("layout pass vs unattached twin, same flags", n, samples[0], samples[5], "ms/pass"));
    else
        report->Note(Label("layout pass vs unattached twin", n) + ": the twin could not be made, not measured");
    report->Add(Timed("layout pass vs bare, same flags", n, samples[0], samples[1], "ms/pass"));
    report->Add(Timed("layout pass vs bare, plain flags", n, samples[0], samples[2], "ms/pass"));
    report->Add(Timed("settled pass vs bare, same flags", n, samples[3], samples[4], "ms/pass"));

    // Messages of one pass, each side from the jiggled places.
    MessageCounts ofLibrary, ofBare;
    jiggled([&] { ofLibrary = CountMessages(f.frame, pass); });
    jiggled([&] { ofBare = CountMessages(f.frame, [&] { sameFlags.Run(); }); });
    report->Add(Counted("WM_WINDOWPOSCHANGING per bar", n, PerBar(ofLibrary.posChanging, n),
                        PerBar(ofBare.posChanging, n), "msgs/bar/pass"));
    report->Add(Counted("WM_NCCALCSIZE per bar", n, PerBar(ofLibrary.ncCalcSize, n), PerBar(ofBare.ncCalcSize, n),
                        "msgs/bar/pass"));
    report->Add(Counted("WM_WINDOWPOSCHANGED per bar", n, PerBar(ofLibrary.posChanged, n),
                        PerBar(ofBare.posChanged, n), "msgs/bar/pass"));
    report->Add(Counted("WM_NCPAINT per bar", n, PerBar(ofLibrary.ncPaint, n), PerBar(ofBare.ncPaint, n),
                        "msgs/bar/pass"));
    std::set<UINT> flags;
    for (const WindowMove& m : moves) flags.insert(m.flags);
    char detail[160];
    std::snprintf(detail, sizeof detail, "layout pass N=%d: %d windows moved (bars, 4 sites, pane) in %d batches, flags",
                  n, static_cast<int>(WindowsMoved(moves)), static_cast<int>(sameFlags.Batches()));
    std::string text = detail;
    for (UINT flag : flags) {
        std::snprintf(detail, sizeof detail, " 0x%04X", flag);
        text += detail;
    }
    report->Note(text);
    if (twin.frame) DestroyWindow(twin.frame);
    DestroyBarFrame(&f);
}

void RunResizeCase(const Effort& effort, Report* report) {
    const int n = effort.bars;
    BarFrame f = BuildBarFrame(n);
    if (!f.frame) {
        report->Note(Label("frame resize", n) + ": the frame could not be built, not measured");
        return;
    }
    // Once both ways before recording, so that nothing done only the first time is recorded.
    Resize(f.frame, kSmallerFrame);
    Settle();
    Resize(f.frame, kFrameSize);
    Settle();
    const MoveList shrink = RecordMoves(f.frame, [&] { Resize(f.frame, kSmallerFrame); });
    Settle();
    const MoveList grow = RecordMoves(f.frame, [&] { Resize(f.frame, kFrameSize); });
    Settle();

    Twin twin = CreateTwin(f.frame);
    if (!twin.frame) {
        report->Note(Label("frame resize", n) + ": the unattached twin could not be made, not measured");
        DestroyBarFrame(&f);
        return;
    }
    const Replay twinShrink(MapWindows(shrink, twin.of)), twinGrow(MapWindows(grow, twin.of));
    NoteMismatch(report, Label("frame resize, twin at start", n), CompareWithTwin(twin));

    // One sample is one resize, each side going the other way from its last; in every round both
    // sides go the same way.
    auto sample = [&](HWND frame, const Replay* toSmaller, const Replay* toLarger) {
        return [&, frame, toSmaller, toLarger, larger = true]() mutable {
            const double ms = TimeMs([&] {
                Resize(frame, larger ? kSmallerFrame : kFrameSize);
                if (const Replay* moves = larger ? toSmaller : toLarger) moves->Run();
            });
            larger = !larger;
            Settle();
            return ms;
        };
    };
    // Equal work: after each way, the twin's windows stand where the library put the frame's.
    Resize(f.frame, kSmallerFrame);
    Resize(twin.frame, kSmallerFrame);
    twinShrink.Run();
    Settle();
    NoteMismatch(report, Label("frame resize, smaller", n), CompareWithTwin(twin));
    Resize(f.frame, kFrameSize);
    Resize(twin.frame, kFrameSize);
    twinGrow.Run();
    Settle();
    NoteMismatch(report, Label("frame resize, larger", n), CompareWithTwin(twin));

    const auto samples = Interleave(2 * effort.rounds, {sample(f.frame, nullptr, nullptr),
                                                        sample(twin.frame, &twinShrink, &twinGrow)});
    report->Add(Timed("frame resize vs unattached twin", n, samples[0], samples[1], "ms/resize"));
    char detail[160];
    std::snprintf(detail, sizeof detail, "frame resize N=%d: %d moves smaller, %d larger, replayed on the twin", n,
                  static_cast<int>(shrink.size()), static_cast<int>(grow.size()));
    report->Note(detail);
    DestroyWindow(twin.frame);
    DestroyBarFrame(&f);
}

}  // namespace vbench
