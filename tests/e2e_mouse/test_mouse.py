#!/usr/bin/env python3
"""The sample host under a real mouse and keyboard: X input from xdotool reaches Wine and the
library as a user's hand does (presses on non-client parts, capture, the drag loop, double clicks,
the system's own border sizing). Each case checks what the host reports, and leaves a screenshot
in --screenshots when it fails. Runs alone on its display: the cursor is shared.

    test_mouse.py --program minimal-host.exe --dll Varnex.dll --screenshots DIR --runner tools/wine-run
                  [--runner-arg=...]
"""
import functools
import os
import unittest

import mouse_host
from mouse_host import glide, host_report, move, on_screen, xdo

OPTIONS = None


def middle(rect):
    return ((rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2)


def bar_state(show, name):
    return host_report.state(show[name])


def keeps_screenshot(test):
    @functools.wraps(test)
    def run(self):
        try:
            test(self)
        except BaseException:
            mouse_host.screenshot(os.path.join(OPTIONS.screenshots, self.id().split(".")[-1] + ".png"))
            mouse_host.let_go()
            raise
    return run


class HostCase(unittest.TestCase):
    def setUp(self):
        self.program = host_report.private_copy(self, OPTIONS.program, OPTIONS.dll, "mouse-host-")
        move(mouse_host.REST)
        self.host = self.start()

    def start(self):
        host = mouse_host.Host(OPTIONS.runner, self.program)
        self.addCleanup(host.kill)
        host.ask(timeout=60)  # up and listening
        return host

    def press(self, point, button=1):
        """Presses at point and waits until the library's drag loop holds the capture."""
        move(point)
        mouse_host.press(button)
        return self.host.wait(mouse_host.captured, "a drag to begin at %s" % (point,))

    def release(self, button=1):
        xdo("mouseup", button)
        return self.host.wait(lambda show: not mouse_host.captured(show), "the drag to end")

    def drag(self, start, end, keys=()):
        self.press(start)
        for key in keys:
            xdo("keydown", key)
        glide(start, end)
        show = self.release()
        for key in keys:
            xdo("keyup", key)
        move(mouse_host.REST)
        return show

    def gripper(self, show, name):
        """A point on a docked bar's gripper: a band at the left end of a row, across the top of a
        column, inside the bar's 2-pixel border."""
        r = on_screen(show, show[name].rect)
        return (r[0] + 4, (r[1] + r[3]) // 2) if r[2] - r[0] > r[3] - r[1] else ((r[0] + r[2]) // 2, r[1] + 4)

    def caption(self, show, name):
        """A point on a floating window's caption: above the bar, inside the window."""
        window, bar = on_screen(show, show[name + "-window"].rect), on_screen(show, show[name].rect)
        return ((window[0] + window[2]) // 2, (window[1] + bar[1]) // 2 + 1)

    def assertLayout(self, show):
        self.assertEqual(host_report.layout_faults(show), [])


class MoveDrags(HostCase):
    @keeps_screenshot
    def test_gripper_drag_within_its_row(self):
        before = self.host.ask()
        start = self.gripper(before, "main")
        after = self.drag(start, (start[0] + 150, start[1]))
        self.assertEqual(after["main"].parent, "dock-top")
        self.assertEqual(after["main"].rect[0], before["main"].rect[0] + 150)
        self.assertEqual((bar_state(after, "main")["docked"], bar_state(after, "main")["x"]), (1, 150))
        self.assertLayout(after)

    @keeps_screenshot
    def test_gripper_drag_to_another_row(self):
        before = self.host.ask("dock:tools,0,200,0")
        self.assertEqual(before["tools"].rect[1], before["main"].rect[1])  # one row
        start = self.gripper(before, "tools")
        after = self.drag(start, (start[0], start[1] + 24))  # within the site's reach, past half a row
        self.assertEqual(after["tools"].parent, "dock-top")
        self.assertGreaterEqual(after["tools"].rect[1], after["main"].rect[3])
        self.assertEqual(after["main"].rect, before["main"].rect)
        self.assertLayout(after)

    @keeps_screenshot
    def test_gripper_drag_to_each_other_side(self):
        for side, name in ((0, "dock-top"), (2, "dock-right"), (3, "dock-bottom")):
            with self.subTest(name):
                before = self.host.ask("dock:tools,1,0,0")
                width, height = host_report.client_size(before)
                status_top = before["status"].rect[1]
                target = {0: (width // 2, 6), 2: (width - 5, height // 2), 3: (width // 2, status_top - 5)}[side]
                x, y = mouse_host.origin(before)
                after = self.drag(self.gripper(before, "tools"), (target[0] + x, target[1] + y))
                self.assertEqual((after["tools"].parent, bar_state(after, "tools")["side"]), (name, side))
                self.assertLayout(after)

    @keeps_screenshot
    def test_gripper_drag_out_floats_the_bar_where_it_is_dropped(self):
        before = self.host.ask()
        start = self.gripper(before, "main")
        end = middle(on_screen(before, before["pane"].rect))
        after = self.drag(start, end)
        self.assertEqual((after["main"].parent, bar_state(after, "main")["docked"]), ("floating", 0))
        window = on_screen(after, after["main-window"].rect)
        self.assertTrue(window[0] <= end[0] < window[2] and window[1] <= end[1] < window[3], (window, end))
        self.assertEqual(bar_state(after, "main")["x"], window[0])
        self.assertLayout(after)

    @keeps_screenshot
    def test_ctrl_held_floats_a_drag_that_would_dock(self):
        before = self.host.ask()
        start = self.gripper(before, "main")
        after = self.drag(start, (start[0] + 150, start[1]), keys=("ctrl",))
        self.assertEqual((after["main"].parent, bar_state(after, "main")["docked"]), ("floating", 0))
        self.assertLayout(after)

    @keeps_screenshot
    def test_escape_and_the_right_button_cancel_without_a_trail(self):
        def escape():
            xdo("key", "Escape")

        def right_button():
            xdo("mousedown", 3)
            xdo("mouseup", 3)

        for name, cancel in (("escape", escape), ("right button", right_button)):
            with self.subTest(name):
                before = self.host.ask()
                frame = before["frame"].rect
                region = (frame[0], frame[1], frame[2] + 40, frame[3] + 40)
                pixels = mouse_host.grab(region)
                start = self.gripper(before, "main")
                self.press(start)
                glide(start, middle(on_screen(before, before["pane"].rect)))
                cancel()
                after = self.host.wait(lambda show: not mouse_host.captured(show), "the drag to end")
                xdo("mouseup", 1)
                move(mouse_host.REST)
                after = self.host.ask()
                for bar in host_report.BARS:
                    self.assertEqual(after[bar], before[bar], bar)
                self.assertTrue(mouse_host.grab(region) == pixels, "the screen changed: a trail is left")


class DoubleClicks(HostCase):
    @keeps_screenshot
    def test_gripper_floats_the_bar_and_its_caption_docks_it_back(self):
        before = self.host.ask()
        move(self.gripper(before, "main"))
        mouse_host.double_click()
        floating = self.host.wait(lambda show: show["main"].parent == "floating", "main to float")
        self.assertEqual(bar_state(floating, "main")["docked"], 0)
        move(self.caption(floating, "main"))
        mouse_host.double_click()
        back = self.host.wait(lambda show: show["main"].parent == "dock-top", "main to dock")
        move(mouse_host.REST)
        self.assertEqual(back["main"], before["main"])
        self.assertLayout(back)


class SizeDrags(HostCase):
    @keeps_screenshot
    def test_a_floating_window_by_each_edge_and_a_corner(self):
        # (where, as a function of the window's screen rectangle; the drag; the change expected
        # of left, top, right, bottom)
        cases = (
            ("right edge", lambda w: (w[2] - 2, (w[1] + w[3]) // 2), (50, 0), (0, 0, 50, 0)),
            ("left edge", lambda w: (w[0] + 1, (w[1] + w[3]) // 2), (-40, 0), (-40, 0, 0, 0)),
            ("bottom edge", lambda w: ((w[0] + w[2]) // 2, w[3] - 2), (0, 30), (0, 0, 0, 30)),
            ("top edge", lambda w: ((w[0] + w[2]) // 2, w[1] + 1), (0, -20), (0, -20, 0, 0)),
            ("bottom right corner", lambda w: (w[2] - 2, w[3] - 2), (30, 40), (0, 0, 30, 40)),
        )
        for name, where, (dx, dy), change in cases:
            with self.subTest(name):
                before = self.host.ask()
                window = on_screen(before, before["panel-window"].rect)
                start = where(window)
                after = self.drag(start, (start[0] + dx, start[1] + dy))
                moved = on_screen(after, after["panel-window"].rect)
                self.assertEqual(tuple(b - a for a, b in zip(window, moved)), change)
                self.assertTrue(host_report.inside(after["panel"].rect, after["panel-window"].rect))
                self.assertLayout(after)

    @keeps_screenshot
    def test_a_docked_bar_by_its_end_down_to_its_natural_size(self):
        before = self.host.ask("dock:panel,2,0,0")
        bar = on_screen(before, before["panel"].rect)
        height = bar[3] - bar[1]
        start = ((bar[0] + bar[2]) // 2, bar[3] - 2)
        longer = self.drag(start, (start[0], start[1] + 60))
        self.assertEqual(longer["panel"].rect[3] - longer["panel"].rect[1], height + 60)
        bar = on_screen(longer, longer["panel"].rect)
        start = ((bar[0] + bar[2]) // 2, bar[3] - 2)
        shortest = self.drag(start, (start[0], start[1] - 200))
        self.assertEqual(shortest["panel"].rect[3] - shortest["panel"].rect[1], height)
        self.assertLayout(shortest)


class Frame(HostCase):
    @keeps_screenshot
    def test_resized_by_its_border_the_layout_follows(self):
        before = self.host.ask()
        frame = before["frame"].rect
        start = (frame[2] - 2, frame[3] - 2)
        glide(mouse_host.REST, start, steps=2)
        mouse_host.press()
        glide(start, (start[0] + 80, start[1] + 60))
        xdo("mouseup", 1)
        after = self.host.wait(lambda show: show["frame"].rect != frame and not mouse_host.captured(show),
                               "the frame to be resized")
        move(mouse_host.REST)
        after = self.host.ask()
        self.assertEqual(after["frame"].rect, (frame[0], frame[1], frame[2] + 80, frame[3] + 60))
        width, height = host_report.client_size(before)
        self.assertEqual(host_report.client_size(after), (width + 80, height + 60))
        self.assertLayout(after)


class MainToolbar(HostCase):
    # Points on the main toolbar docked at its start, from its left end: its buttons after the
    # border and gripper (8 pixels); the New button's drop-down arrow at its right end.
    SAVE, NEW_ARROW = 70, 32

    def at(self, show, offset):
        bar = on_screen(show, show["main"].rect)
        return (bar[0] + offset, (bar[1] + bar[3]) // 2)

    @keeps_screenshot
    def test_hover_shows_the_tooltip_and_the_status_text(self):
        before = self.host.ask()
        self.assertNotIn("tooltip", before)
        point = self.at(before, self.SAVE)
        move(point)
        shown = self.host.wait(lambda show: "tooltip" in show, "the tooltip")
        self.assertEqual(shown["status"].fields["text"], "Saves_the_document")
        tip = on_screen(shown, shown["tooltip"].rect)
        self.assertTrue(abs(tip[0] - point[0]) < 40 and 0 <= tip[1] - point[1] < 40, (tip, point))
        move(mouse_host.REST)

    @keeps_screenshot
    def test_the_drop_down_arrow_opens_the_menu_and_an_item_reaches_the_host(self):
        before = self.host.ask()
        move(self.at(before, self.NEW_ARROW))
        mouse_host.press()
        xdo("mouseup", 1)
        opened = self.host.wait(lambda show: "menu" in show, "the drop-down menu")
        menu = on_screen(opened, opened["menu"].rect)
        bar = on_screen(opened, opened["main"].rect)
        self.assertTrue(bar[3] - 2 <= menu[1] <= bar[3] + 4, "the menu %s not under the bar %s" % (menu, bar))
        # The second of two items: "From a template...".
        glide(self.at(before, self.NEW_ARROW), ((menu[0] + menu[2]) // 2, menu[1] + (menu[3] - menu[1]) * 3 // 4))
        self.host.wait(lambda show: show["status"].fields["text"] == "Makes_a_document_from_a_template",
                       "the item's status text")
        mouse_host.press()
        xdo("mouseup", 1)
        chosen = self.host.wait(lambda show: show["frame"].fields["command"] != "0", "the command")
        move(mouse_host.REST)
        self.assertNotIn("menu", chosen)
        self.assertEqual((chosen["frame"].fields["command"], chosen["status"].fields["text"]),
                         ("100", "A_document_from_a_template"))


class Document(HostCase):
    @keeps_screenshot
    def test_the_wheel_over_the_view_scrolls_it_by_lines(self):
        def position(show):
            return int(show["view"].fields["vscroll"].split(",")[4])

        before = self.host.ask()
        self.assertEqual(position(before), 0)
        move(middle(on_screen(before, before["view"].rect)))
        for notches, lines in ((1, 1), (2, 3)):
            for _ in range(notches):
                xdo("click", 5)  # one notch towards the user
            after = self.host.wait(lambda show: position(show) == 10 * lines, "%d lines of 10 pixels" % lines)
        move(mouse_host.REST)
        self.assertEqual(after["view"].rect, before["view"].rect)


class Persistence(HostCase):
    @keeps_screenshot
    def test_a_layout_made_with_the_mouse_comes_back_on_the_next_start(self):
        before = self.host.ask()
        width, height = host_report.client_size(before)
        x, y = mouse_host.origin(before)
        self.drag(self.gripper(before, "tools"), (x + width - 5, y + height // 2))
        moved = self.host.ask()
        self.drag(self.gripper(moved, "main"), middle(on_screen(moved, moved["pane"].rect)))
        moved = self.host.ask()
        self.assertEqual((moved["main"].parent, moved["tools"].parent), ("floating", "dock-right"))
        self.host.quit()
        self.host = self.start()
        restored = self.host.ask()
        for name in ("frame", "status", "pane") + host_report.SITES + host_report.BARS + ("main-window",
                                                                                          "panel-window"):
            self.assertEqual(restored[name], moved[name], name)


if __name__ == "__main__":
    OPTIONS, argv = host_report.options("--program", "--dll", "--screenshots")
    unittest.main(argv=argv, verbosity=2)
