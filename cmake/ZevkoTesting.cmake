# zevko_add_qtest(NAME <name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>])
# Builds one QtTest executable and registers it with CTest. Every test runs
# offscreen with its own config, data and runtime directories, so that no test
# reads or writes the user's settings and no two tests share state.
function(zevko_add_qtest)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} Qt6::Test zevko_warnings)
  # Helpers shared by the tests of every layer (files on disk, disk faults).
  target_include_directories(${ARG_NAME} PRIVATE "${PROJECT_SOURCE_DIR}/tests/common")
  target_compile_definitions(${ARG_NAME} PRIVATE
    ZEVKO_TEST_SOURCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}"
    ZEVKO_SOURCE_ROOT="${PROJECT_SOURCE_DIR}"
    ZEVKO_BINARY_ROOT="${PROJECT_BINARY_DIR}")
  set(envroot "${PROJECT_BINARY_DIR}/test-env/${ARG_NAME}")
  file(MAKE_DIRECTORY "${envroot}/config" "${envroot}/data" "${envroot}/runtime" "${envroot}/tmp")
  file(CHMOD "${envroot}/runtime" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  add_test(NAME ${ARG_NAME}
           COMMAND sh "${PROJECT_SOURCE_DIR}/cmake/FreshTestEnv.sh" "${envroot}" $<TARGET_FILE:${ARG_NAME}>)
  set_tests_properties(${ARG_NAME} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_CONFIG_HOME=${envroot}/config;XDG_DATA_HOME=${envroot}/data;XDG_RUNTIME_DIR=${envroot}/runtime;TMPDIR=${envroot}/tmp;DBUS_SESSION_BUS_ADDRESS=disabled:;LC_ALL=C.UTF-8;QT_LOGGING_RULES=qt.qpa.*=false"
    TIMEOUT 300
    LABELS "${ARG_LABELS}")
endfunction()

# Registers every Test*.cpp of the calling directory as one test executable.
function(zevko_add_qtests_in_dir)
  cmake_parse_arguments(ARG "" "" "LIBS;LABELS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/Test*.cpp")
  foreach(src IN LISTS sources)
    get_filename_component(name "${src}" NAME_WE)
    zevko_add_qtest(NAME ${name} SOURCES ${src} LIBS ${ARG_LIBS} LABELS ${ARG_LABELS})
  endforeach()
endfunction()
