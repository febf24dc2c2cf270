# Windows build (mingw-w64): the static program, the Win32-layer tests, the e2e driver and the e2e tests.
enable_language(RC)
set(WW_WIN_FLAGS -static -static-libgcc -static-libstdc++)
# Keep the program small: unused functions and data are dropped at link time.
add_compile_options(-Os -ffunction-sections -fdata-sections)
add_link_options(-Wl,--gc-sections)
# Windows 7 SP1 and later: the headers then hide newer functions, which come through GetProcAddress instead.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
set(WW_WIN_LIBS user32 gdi32 shell32 comctl32)

set(WW_WIN_SOURCES ${WW_ALL_SOURCES})
list(FILTER WW_WIN_SOURCES INCLUDE REGEX "/src/platform/win32/|_win\\.cpp$")
add_library(wortwerk_win STATIC ${WW_WIN_SOURCES})
target_link_libraries(wortwerk_win PUBLIC wortwerk_core ${WW_WIN_LIBS})
# Each file of the program would parse <windows.h> and the standard headers again: built as a few large units, the
# Windows side compiles in a fraction of the time. GoogleTest only has to run, not be fast: it is built unoptimised.
set_target_properties(wortwerk_core wortwerk_win PROPERTIES UNITY_BUILD ON)
target_compile_options(gtest PRIVATE -O0)
target_compile_options(gtest_main PRIVATE -O0)

# The version resource takes its numbers from project(VERSION), the one place that names the version.
if(NOT PROJECT_VERSION_PATCH)
    set(PROJECT_VERSION_PATCH 0)
endif()
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/version.h @ONLY CONTENT
     "#define WW_VERSION_MAJOR @PROJECT_VERSION_MAJOR@
#define WW_VERSION_MINOR @PROJECT_VERSION_MINOR@
#define WW_VERSION_PATCH @PROJECT_VERSION_PATCH@
#define WW_VERSION_TEXT \"@PROJECT_VERSION@\\0\"
")

# The hand icon: drawn once as SVG and rendered at every size the shell asks for from 100 % to 200 % scaling (tray
# 16-32 px, window 32-64 px) and at 256 px for large views, which goes in as PNG like Windows' own icons.
find_program(WW_RSVG_CONVERT rsvg-convert REQUIRED) # librsvg2-bin, installed by scripts/install-deps.sh
find_program(WW_ICOTOOL icotool REQUIRED)           # icoutils
set(WW_ICON ${CMAKE_BINARY_DIR}/generated/hand.ico)
set(WW_ICON_STEPS)
set(WW_ICON_IMAGES)
foreach(size 16 20 24 32 40 48 64 256)
    set(png ${CMAKE_BINARY_DIR}/generated/hand-${size}.png)
    list(APPEND WW_ICON_STEPS
         COMMAND ${WW_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${CMAKE_SOURCE_DIR}/res/hand.svg)
    if(size EQUAL 256)
        list(APPEND WW_ICON_IMAGES -r)
    endif()
    list(APPEND WW_ICON_IMAGES ${png})
endforeach()
add_custom_command(OUTPUT ${WW_ICON} ${WW_ICON_STEPS} COMMAND ${WW_ICOTOOL} -c -o ${WW_ICON} ${WW_ICON_IMAGES}
                   DEPENDS res/hand.svg VERBATIM)
# windres finds hand.ico in the generated folder, an include folder of the program.
set_source_files_properties(res/wortwerk.rc PROPERTIES
                            OBJECT_DEPENDS "${WW_ICON};${CMAKE_SOURCE_DIR}/res/wortwerk.manifest")

add_executable(wortwerk WIN32 src/app/main.cpp res/wortwerk.rc)
target_include_directories(wortwerk PRIVATE ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(wortwerk PRIVATE wortwerk_win)
# No link timestamp in the PE header: the same sources give the same bytes.
target_link_options(wortwerk PRIVATE ${WW_WIN_FLAGS} -municode -mwindows -s -Wl,--no-insert-timestamp)

# The program starts on Windows 7 SP1 and loads no library from beside itself: every import is on the list.
add_test(NAME windows7_imports COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/imports/check_imports.py ${CMAKE_OBJDUMP}
                                       $<TARGET_FILE:wortwerk> ${CMAKE_SOURCE_DIR}/tests/imports/windows7_imports.txt)

# The release zip for users: the stripped program and the German guide, byte for byte reproducible.
set(WW_PACKAGE_DIR ${CMAKE_BINARY_DIR}/package CACHE PATH "Folder that receives the release zip")
set(WW_ZIP ${WW_PACKAGE_DIR}/wortwerk-${PROJECT_VERSION}-win64.zip)
if(CMAKE_BUILD_TYPE STREQUAL "Release")
    add_custom_command(OUTPUT ${WW_ZIP}
        COMMAND python3 ${CMAKE_SOURCE_DIR}/tools/make_package.py --strip ${CMAKE_STRIP} --exe $<TARGET_FILE:wortwerk>
                --guide ${CMAKE_SOURCE_DIR}/packaging/LIESMICH.txt --out ${WW_ZIP}
        DEPENDS wortwerk tools/make_package.py packaging/LIESMICH.txt VERBATIM)
    add_custom_target(win64_zip DEPENDS ${WW_ZIP})
else()
    add_custom_target(win64_zip COMMAND ${CMAKE_COMMAND} -E echo "The release zip needs a Release build."
                                COMMAND ${CMAKE_COMMAND} -E false)
endif()

file(GLOB WW_WIN32_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/*_test.cpp)
if(WW_WIN32_TESTS)
    add_executable(win32_tests ${WW_WIN32_TESTS})
    target_link_libraries(win32_tests PRIVATE wortwerk_win gtest_main)
    target_link_options(win32_tests PRIVATE ${WW_WIN_FLAGS} -mconsole) # gtest_main brings main()
    add_test(NAME win32_tests COMMAND win32_tests)
endif()

# The benchmarks' tools are built on demand (bench/run_benchmarks.sh and bench/soak_bench.sh build them).
file(GLOB WW_E2E_TOOLS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/tools/*.cpp)
file(GLOB WW_BENCH_TOOLS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/tools/*.cpp)
foreach(src ${WW_E2E_TOOLS} ${WW_BENCH_TOOLS})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    if(src IN_LIST WW_BENCH_TOOLS)
        set_target_properties(${name} PROPERTIES EXCLUDE_FROM_ALL ON)
    endif()
    # The program's own pieces are there for tools that need them (the delivery floor plans with the planner); ntdll
    # for the counts of another process.
    target_link_libraries(${name} PRIVATE wortwerk_win ntdll)
    target_link_options(${name} PRIVATE ${WW_WIN_FLAGS} -municode -mconsole)
endforeach()

# Every tests/e2e/*_test.sh is one CTest test; they share X and Wine setup through tests/e2e/lib.sh. Each makes its
# own X server and Wine prefix, so they run side by side (they mostly wait for Wine), except the package test: it
# builds the program again, which the others are running.
file(GLOB WW_E2E_SCRIPTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*_test.sh)
foreach(script ${WW_E2E_SCRIPTS})
    get_filename_component(name ${script} NAME_WE)
    add_test(NAME e2e_${name} COMMAND bash ${script})
    set_tests_properties(e2e_${name} PROPERTIES TIMEOUT 300
        ENVIRONMENT "WW_BIN=${CMAKE_BINARY_DIR};WW_SRC=${CMAKE_SOURCE_DIR};WW_ZIP=${WW_ZIP}")
endforeach()
set_tests_properties(e2e_package_test PROPERTIES RUN_SERIAL ON)
