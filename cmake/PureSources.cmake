# Units without <windows.h>. The host build compiles exactly these under the
# sanitizers; the Windows build compiles them as part of the program.
set(CALVERIN_PURE_SOURCES
    engine/Md5.cpp
    app/ColourText.cpp
    app/IniPathRule.cpp
    jobs/SizeText.cpp
)

# Tests of the pure units: run natively under the sanitizers and under Wine.
set(CALVERIN_PURE_TESTS
    tests/engine/Md5Test.cpp
    tests/app/ColourTextTest.cpp
    tests/app/IniPathRuleTest.cpp
    tests/jobs/SizeTextTest.cpp
)

# libFuzzer targets (host build with clang only): name=source pairs.
set(CALVERIN_FUZZERS
    fuzz_colour_text=tests/fuzz/ColourTextFuzz.cpp
)
