# Warnings for the project's own targets only.
function(orvalin_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wpedantic)
endfunction()

# A test executable with its cases discovered and labelled by folder.
function(orvalin_test name label)
    add_executable(${name} ${ARGN})
    orvalin_warnings(${name})
    if(label STREQUAL "gui")
        target_link_libraries(${name} PRIVATE orvalin_test_widgets_main GTest::gmock)
    else()
        target_link_libraries(${name} PRIVATE orvalin_test_main GTest::gmock)
    endif()
    gtest_discover_tests(${name}
        PROPERTIES LABELS ${label}
                   ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ORVALIN_RESOURCES=${PROJECT_SOURCE_DIR}/resources"
        DISCOVERY_TIMEOUT 60)
endfunction()
