# episode_fixtures(TARGET): a custom target that leaves urls.txt (the episode addresses,
# printed by a host build of the program's own table) and sample.mp4 (what the delivery
# node serves) in the current binary directory.
function(episode_fixtures target)
  set(dir ${CMAKE_CURRENT_BINARY_DIR})
  add_custom_command(
    OUTPUT ${dir}/urls.txt
    COMMAND g++ -std=c++20 -Wall -Wextra -finput-charset=UTF-8 -fexec-charset=GBK -I${PROJECT_SOURCE_DIR}
            -o ${dir}/list_episodes ${PROJECT_SOURCE_DIR}/tools/list_episodes.cpp
            ${PROJECT_SOURCE_DIR}/episodes/episode_table.cpp
    COMMAND /bin/sh -c "\"$0\" > \"$1.tmp\" && mv -f \"$1.tmp\" \"$1\"" ${dir}/list_episodes ${dir}/urls.txt
    DEPENDS ${PROJECT_SOURCE_DIR}/tools/list_episodes.cpp ${PROJECT_SOURCE_DIR}/episodes/episode_table.cpp
            ${PROJECT_SOURCE_DIR}/episodes/episode_table.h
    COMMENT "Listing the episode addresses"
    VERBATIM)
  add_custom_command(
    OUTPUT ${dir}/sample.mp4
    COMMAND bash ${PROJECT_SOURCE_DIR}/tools/make_sample_mp4.sh ${dir}/sample.mp4
    DEPENDS ${PROJECT_SOURCE_DIR}/tools/make_sample_mp4.sh
    COMMENT "Making the sample video"
    VERBATIM)
  add_custom_target(${target} DEPENDS ${dir}/urls.txt ${dir}/sample.mp4)
endfunction()

# The helpers the measuring drivers share: driving and observing a program from outside.
set(bench_shared_sources
  ${PROJECT_SOURCE_DIR}/tools/bench/node_log.cpp
  ${PROJECT_SOURCE_DIR}/tools/bench/program_ui.cpp
  ${PROJECT_SOURCE_DIR}/tools/bench/readiness.cpp
  ${PROJECT_SOURCE_DIR}/tools/bench/unix_process.cpp
  ${PROJECT_SOURCE_DIR}/tools/bench/watched_process.cpp
  ${PROJECT_SOURCE_DIR}/tests/e2e/input.cpp
  ${PROJECT_SOURCE_DIR}/tests/e2e/probe.cpp
  ${PROJECT_SOURCE_DIR}/tests/e2e/screen.cpp)
