#!/usr/bin/env bash
# Builds the benchmarks (Release), runs them all and prints one table of the figures beside their targets.
# Every benchmark reports key=value lines (Google Benchmark's medians are turned into name_ns=value); the
# table is made from those at the end. Progress goes to stderr, the table to stdout.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target tintwell bare_window bare_grab bench_notations bench_editor bench_registry bench_palette \
    css_round_trip clipboard_latency capture_latency display_profile >&2
results=$(mktemp)
trap 'rm -f "$results"' EXIT

# The medians of a Google Benchmark program, in nanoseconds of wall time, as name_ns=value.
medians() {
    "$@" --benchmark_repetitions=9 --benchmark_report_aggregates_only=true --benchmark_min_time=0.2 \
        --benchmark_format=csv 2>/dev/null |
        awk -F, '$1 ~ /_median"$/ {
            gsub(/"/, "", $1); sub(/_median$/, "", $1)
            print $1 "_ns=" $3 * ($5 == "ms" ? 1e6 : $5 == "us" ? 1e3 : 1)
        }'
}
run() {
    echo "running $*" >&2
    "$@" >>"$results" || echo "$* failed" >&2
}
run medians build/bench/bench_notations
run medians build/bench/bench_editor
run medians build/bench/bench_registry
run medians build/bench/bench_palette
run bench/startup.sh build/src/app/tintwell build/bench/bare_window
run bench/memory.sh build/src/app/tintwell build/bench/bare_window
run bench/idle.sh build/src/app/tintwell
run bench/capture.sh build/bench/capture_latency
run bench/pick.sh build/src/app/tintwell build/bench/bare_grab
run bench/clipboard.sh build/bench/clipboard_latency
run bench/convert.sh build/src/app/tintwell
run build/bench/css_round_trip

awk -F= '
    /^[^=]+=/ { v[$1] = substr($0, length($1) + 2); next }
    function has(k) { return k in v }
    function n(k) { return v[k] + 0 }
    function fig(k, scale, unit, digits) {
        return has(k) ? sprintf("%." digits "f", n(k) / scale) (unit == "" ? "" : " " unit) : "n/a"
    }
    function ratio(a, b) { return has(a) && has(b) && n(b) > 0 ? sprintf("%.2f", n(a) / n(b)) : "n/a" }
    function met(known, ok) { return known ? (ok ? "yes" : "**no**") : "n/a" }
    function row(measure, ours, bare, r, target, ok) {
        printf "| %s | %s | %s | %s | %s | %s |\n", measure, ours, bare, r, target, ok
    }
    # Three notations side by side: "RGB / hex / HTML" in nanoseconds.
    function three(kind, k) { return fig(kind "/rgb_ns", 1, "", 0) " / " fig(kind "/hex_ns", 1, "", 0) " / " \
                                     fig(kind "/html_ns", 1, "ns", 0) }
    function rounds(name) {
        return has(name "_median_ms") ? v[name "_median_ms"] " ms, " v[name "_worst_ms"] " ms" : "n/a"
    }
    function idle(state) {
        return has("idle_" state "_cpu_ms") ? v["idle_" state "_cpu_ms"] " ms CPU, " v["idle_" state "_wakeups"] \
               " wake-ups" : "n/a"
    }
    END {
        mib = 1024 # /proc counts memory in KiB; the table shows MiB, as top and free do
        print "| Measure | Tintwell | Yardstick/Bare | Ratio | Target | Met? |"
        print "|---|---|---|---|---|---|"
        row("Start-up to window on screen (median of " v["startup_runs"] ", less the 2000 ms splash wait)",
            fig("startup_tintwell_ms", 1, "ms", 0), fig("startup_bare_ms", 1, "ms", 0),
            ratio("startup_tintwell_ms", "startup_bare_ms"), "ratio ≤ 1.5",
            met(ratio("startup_tintwell_ms", "startup_bare_ms") != "n/a",
                n("startup_tintwell_ms") <= 1.5 * n("startup_bare_ms")))
        row("Resident set (VmRSS) 5 s after start", fig("rss_tintwell_kb", mib, "MiB", 1), fig("rss_bare_kb", mib, "MiB", 1),
            ratio("rss_tintwell_kb", "rss_bare_kb"), "≤ 35 MiB",
            met(has("rss_tintwell_kb"), n("rss_tintwell_kb") <= 35 * mib))
        row("Proportional set (Pss) 5 s after start", fig("pss_tintwell_kb", mib, "MiB", 1), fig("pss_bare_kb", mib, "MiB", 1),
            ratio("pss_tintwell_kb", "pss_bare_kb"), "—", "—")
        row("Idle 10 s, window inactive", idle("inactive"), "—", "—", "< 10 ms CPU",
            met(has("idle_inactive_cpu_ms"), n("idle_inactive_cpu_ms") < 10))
        row("Idle 10 s, window active, caret blinking in Red", idle("active"), "—", "—", "—", "—")
        row("The same, 7 bytes of text on the clipboard", idle("text7"), "—", "—", "—", "—")
        # A large clipboard text must cost nothing once it is read: the same within noise as 7 bytes.
        row("The same, 20 MB of text on the clipboard", idle("text20mb"), "—", "—", "≈ 7 bytes",
            met(has("idle_text20mb_cpu_ms") && has("idle_text7_cpu_ms"),
                n("idle_text20mb_cpu_ms") <= 1.5 * n("idle_text7_cpu_ms") + 5))
        row("SetColour: every control refreshed", fig("SetColourRefresh_ns", 1000, "µs", 1), "—", "—", "< 100 µs",
            met(has("SetColourRefresh_ns"), n("SetColourRefresh_ns") < 100000))
        row("Typing three digits over the Red field", fig("TypeThreeDigits_ns", 1000, "µs", 0), "—", "—", "—", "—")
        row("Red slider dragged 0 to 255 (256 changes)", fig("DragSliderAcrossRange_ns", 1e6, "ms", 2), "—", "—", "—", "—")
        for (i = 1; i <= 2; i++) {
            size = i == 1 ? "1920x1080" : "3840x2160"
            r = ratio("capture_" size "_ms", "grab_" size "_ms")
            row("F12 to painted capture window, " size " (less the delay)", fig("capture_" size "_ms", 1, "ms", 1),
                fig("grab_" size "_ms", 1, "ms", 1) " bare grab", r, i == 1 ? "—" : "ratio ≤ 1.5",
                i == 1 ? "—" : met(r != "n/a", n("capture_" size "_ms") <= 1.5 * n("grab_" size "_ms")))
        }
        size = "3840x2160"
        r = ratio("capture_profile_" size "_ms", "grab_profile_" size "_ms")
        row("The same with a 534 KiB colour profile on the screen", fig("capture_profile_" size "_ms", 1, "ms", 1),
            fig("grab_profile_" size "_ms", 1, "ms", 1) " bare grab", r, "ratio ≤ 1.5",
            met(r != "n/a", n("capture_profile_" size "_ms") <= 1.5 * n("grab_profile_" size "_ms")))
        for (i = 1; i <= 2; i++) {
            m = i == 1 ? "magnifier_3840x2160" : "magnifier_profile_3840x2160"
            row("Pointer move to repainted magnifier, 3840x2160" (i == 1 ? "" : ", with the sRGB line") \
                " (median, 99th percentile)",
                has(m "_median_ms") ? fig(m "_median_ms", 1, "", 2) " ms, " fig(m "_p99_ms", 1, "ms", 2) : "n/a",
                "—", "—", "median < 2 ms", met(has(m "_median_ms"), n(m "_median_ms") < 2))
        }
        m = "magnifier_sample25_3840x2160_median_ms"
        row("The same with a 25x25 average (median)", fig(m, 1, "ms", 2), "—", "—", "median < 2 ms",
            met(has(m), n(m) < 2))
        r = ratio("pick_tintwell_ms", "pick_bare_ms")
        row("tintwell --pick to capture window on screen, 1920x1080 (median of " v["pick_runs"] ")",
            fig("pick_tintwell_ms", 1, "ms", 0), fig("pick_bare_ms", 1, "ms", 0) " bare grab window", r,
            "ratio ≤ 1.5", met(r != "n/a", n("pick_tintwell_ms") <= 1.5 * n("pick_bare_ms")))
        row("Exit save: window stores and preferences", fig("ExitSave_ns", 1e6, "ms", 2), "—", "—", "< 5 ms",
            met(has("ExitSave_ns"), n("ExitSave_ns") < 5e6))
        row("Exit save after a colour change: the colour alone / also a recent colour",
            fig("ExitSaveAfterChange/set_ns", 1e6, "", 2) " / " fig("ExitSaveAfterChange/takenIn_ns", 1e6, "ms", 2),
            "—", "—", "no measurable difference", "—")
        for (i = 1; i <= 2; i++) {
            f = i == 1 ? "gpl" : "ase"
            row("Palette of 1,000 colours, ." f ": export / import", fig("Export/" f "_ns", 1e6, "", 2) " / " \
                fig("Import/" f "_ns", 1e6, "ms", 2), "—", "—", "< 20 ms each",
                met(has("Export/" f "_ns") && has("Import/" f "_ns"), n("Export/" f "_ns") < 2e7 && n("Import/" f "_ns") < 2e7))
        }
        row("Preferences save alone (TTintOptions::Save)", fig("SaveOptions_ns", 1e6, "ms", 2), "—", "—", "—", "—")
        row("Notation validators RGB / hex / HTML", three("Validate"), "—", "—", "—", "—")
        row("Notation parsers RGB / hex / HTML", three("Parse"), "—", "—", "—", "—")
        fmt_ok = has("Format/rgb_ns") && n("Format/rgb_ns") <= 50 && n("Format/hex_ns") <= 50 && n("Format/html_ns") <= 50
        row("Notation formatters RGB / hex / HTML", three("Format"), "—", "—", "≤ 50 ns each",
            met(has("Format/rgb_ns"), fmt_ok))
        slowest = 0
        split("named hex rgb hsl hwb lab lch oklab oklch color", syntaxes, " ")
        for (i in syntaxes) if (n("ReadAny/" syntaxes[i] "_ns") > slowest) slowest = n("ReadAny/" syntaxes[i] "_ns")
        row("Reading a CSS colour: rgb() / hsl() / lab() / oklch() / color()",
            fig("ReadAny/rgb_ns", 1, "", 0) " / " fig("ReadAny/hsl_ns", 1, "", 0) " / " fig("ReadAny/lab_ns", 1, "", 0) \
                " / " fig("ReadAny/oklch_ns", 1, "", 0) " / " fig("ReadAny/color_ns", 1, "ns", 0),
            "—", "—", "< 1 µs each", met(has("ReadAny/rgb_ns"), slowest < 1000))
        row("The same, an oklch() outside sRGB (gamut mapping)", fig("ReadAny/oklch_mapped_ns", 1, "ns", 0),
            "—", "—", "—", "—")
        row("Every colour in every CSS format reads back (16.7 million x 8, all cores)",
            has("css_round_trip_s") ? v["css_round_trip_failures"] " failures, " fig("css_round_trip_s", 1, "s", 0) : "n/a",
            "—", "—", "0 failures", met(has("css_round_trip_failures"), n("css_round_trip_failures") == 0))
        row("WCAG contrast of a pair", fig("Contrast_ns", 1, "ns", 0), "—", "—", "< 100 ns",
            met(has("Contrast_ns"), n("Contrast_ns") < 100))
        row("Nearest passing colour, near / far", fig("NearestPassing/near_ns", 1000, "", 1) " / " \
            fig("NearestPassing/far_ns", 1000, "µs", 1), "—", "—", "< 20 µs",
            met(has("NearestPassing/far_ns"), n("NearestPassing/near_ns") < 20000 && n("NearestPassing/far_ns") < 20000))
        row("Writing as CSS rgb() / hsl() / lab() / oklch() / color(display-p3)",
            fig("WriteAs/css_rgb_ns", 1, "", 0) " / " fig("WriteAs/hsl_ns", 1, "", 0) " / " fig("WriteAs/lab_ns", 1, "", 0) \
                " / " fig("WriteAs/oklch_ns", 1, "", 0) " / " fig("WriteAs/display_p3_ns", 1, "ns", 0),
            "—", "—", "—", "—")
        r = ratio("convert_tintwell_ms", "convert_colorjs_ms")
        row("tintwell --convert - to oklch, 100,000 lines (median of 3)", fig("convert_tintwell_ms", 1, "ms", 0),
            fig("convert_colorjs_ms", 1, "ms", 0) " colorjs.io in node", r, "ratio ≤ 1",
            met(r != "n/a", n("convert_tintwell_ms") <= n("convert_colorjs_ms")))
        row("Paste available after another program takes the clipboard (median, worst of " v["paste_rounds"] ")",
            rounds("paste"), "—", "—", "—", "—")
        row("Exit with a copy still on the clipboard: hand-off until the holder owns it (median, worst of " \
            v["handoff_rounds"] ")", rounds("handoff"), "—", "—", "≤ 500 ms", met(has("handoff_worst_ms"),
            n("handoff_worst_ms") <= 500))
        row("Exit with nothing of ours on the clipboard: the same call (median, worst of " v["no_handoff_rounds"] ")",
            rounds("no_handoff"), "—", "—", "—", "—")
    }
' "$results"
