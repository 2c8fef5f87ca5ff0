/* The layout file, written on exit and read on start. One line per bar:
 *     [Bars]
 *     main=1 0 0 0 80 22          docked side x y cx cy, as the DOCKSTATE holds them */
#include "layout_store.h"

#include "minimal_host.h"

/* The program's own path with ".ini" for ".exe"; FALSE when the path is too long to have. */
static BOOL LayoutFile(char *path)
{
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    if (length <= 4 || length >= MAX_PATH) return FALSE;
    lstrcpyA(path + length - 4, ".ini");
    return TRUE;
}

/* Reads up to `count` blank-separated integers; returns how many were there. */
static int ParseNumbers(const char *text, LONG *numbers, int count)
{
    int found = 0;
    while (found < count) {
        LONG value = 0, sign = 1;
        while (*text == ' ') ++text;
        if (*text == '-') {
            sign = -1;
            ++text;
        }
        if (*text < '0' || *text > '9') break;
        for (; *text >= '0' && *text <= '9'; ++text)
            if (value < 1000000) value = value * 10 + (*text - '0'); /* more than a screen holds */
        numbers[found++] = sign * value;
    }
    return found;
}

static int ReadNumbers(const char *section, const char *key, LONG *numbers, int count)
{
    char path[MAX_PATH], text[128];
    if (!LayoutFile(path)) return 0;
    GetPrivateProfileStringA(section, key, "", text, sizeof text, path);
    return ParseNumbers(text, numbers, count);
}

BOOL LoadFrameRect(RECT *rect)
{
    LONG n[4];
    if (ReadNumbers("Frame", "Rect", n, 4) != 4 || n[2] <= n[0] || n[3] <= n[1]) return FALSE;
    SetRect(rect, n[0], n[1], n[2], n[3]);
    return TRUE;
}

void LoadBarStates(void)
{
    int i;
    for (i = 0; i < BAR_COUNT; ++i) {
        DOCKSTATE *state = &g_bars[i].state;
        LONG n[6];
        if (ReadNumbers("Bars", g_bars[i].name, n, 6) != 6 || (n[0] != 0 && n[0] != 1) || n[1] < 0 || n[1] > 3)
            continue;
        state->docked = (BYTE)n[0];
        state->side = (BYTE)n[1];
        state->x = n[2];
        state->y = n[3];
        state->cx = n[4];
        state->cy = n[5];
    }
}

void SaveLayout(void)
{
    char path[MAX_PATH], text[128];
    RECT r;
    int i;
    if (!LayoutFile(path)) return;
    /* A minimized or maximized frame keeps the rectangle saved before. */
    if (!IsIconic(g_frame) && !IsZoomed(g_frame) && GetWindowRect(g_frame, &r)) {
        wsprintfA(text, "%ld %ld %ld %ld", r.left, r.top, r.right, r.bottom);
        WritePrivateProfileStringA("Frame", "Rect", text, path);
    }
    for (i = 0; i < BAR_COUNT; ++i) {
        const DOCKSTATE *s = &g_bars[i].state;
        wsprintfA(text, "%d %d %ld %ld %ld %ld", s->docked, s->side, s->x, s->y, s->cx, s->cy);
        WritePrivateProfileStringA("Bars", g_bars[i].name, text, path);
    }
}
