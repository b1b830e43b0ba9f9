# Units without <windows.h>. The host build compiles exactly these under the
# sanitizers; the Windows build compiles them as part of the program.
set(CALVERIN_PURE_SOURCES
    engine/Md5.cpp
    engine/Md5Avx512.cpp
    jobs/HashBatch.cpp
    system/HexText.cpp
    system/Placement.cpp
    system/PictureScale.cpp
    system/ColourText.cpp
    system/IniPathRule.cpp
    system/SizeText.cpp
    system/CommandLineScan.cpp
    system/ChecksumList.cpp
    system/ListPath.cpp
    system/FullPathRule.cpp
    ui/LayoutAnchor.cpp
    system/ChecksumScan.cpp
)

# The AVX-512 compression stays on 128-bit registers: GCC cannot align the
# stack slots of wider ones on 64-bit Windows.
set_source_files_properties(engine/Md5Avx512.cpp PROPERTIES COMPILE_OPTIONS -mprefer-vector-width=128)

# Tests of the pure units: run natively under the sanitizers and under Wine.
set(CALVERIN_PURE_TESTS
    tests/engine/Md5Test.cpp
    tests/jobs/HashBatchTest.cpp
    tests/system/HexTextTest.cpp
    tests/system/PlacementTest.cpp
    tests/system/PictureScaleTest.cpp
    tests/system/ColourTextTest.cpp
    tests/system/IniPathRuleTest.cpp
    tests/system/SizeTextTest.cpp
    tests/system/CommandLineScanTest.cpp
    tests/system/ChecksumListTest.cpp
    tests/system/ListPathTest.cpp
    tests/system/FullPathRuleTest.cpp
    tests/ui/LayoutAnchorTest.cpp
    tests/system/ChecksumScanTest.cpp
)

# libFuzzer targets (host build with clang only): name=source pairs.
set(CALVERIN_FUZZERS
    fuzz_colour_text=tests/fuzz/ColourTextFuzz.cpp
    fuzz_command_line=tests/fuzz/CommandLineScanFuzz.cpp
    fuzz_checksum_scan=tests/fuzz/ChecksumScanFuzz.cpp
    fuzz_checksum_list=tests/fuzz/ChecksumListFuzz.cpp
    fuzz_md5_compression=tests/fuzz/Md5CompressionFuzz.cpp
)
