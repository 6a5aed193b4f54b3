# tintwell_test(name source... LIBS lib...): one QtTest executable, registered with CTest.
# Widget tests run on the offscreen platform unless the test is labelled x11, which needs the X server
# that scripts/test.sh starts.
function(tintwell_test name)
    cmake_parse_arguments(T "X11" "" "LIBS" ${ARGN})
    add_executable(${name} ${T_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
    add_test(NAME ${name} COMMAND ${name})
    if(T_X11)
        set_tests_properties(${name} PROPERTIES LABELS x11 ENVIRONMENT "QT_QPA_PLATFORM=xcb")
    else()
        set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
    endif()
endfunction()
