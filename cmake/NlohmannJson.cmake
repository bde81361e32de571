# nlohmann/json, header-only, from Debian's nlohmann-json3-dev (scripts/setup installs it).
# Debian puts it under /usr/include, but the cross compiler must never search the host's include
# folder: glibc's headers there would be picked up instead of MinGW's. So the build tree gets a
# folder holding only a link to the library's own folder, and that is what targets include.
set(VELTRANO_NLOHMANN_JSON_DIR /usr/include/nlohmann CACHE PATH "nlohmann/json headers (the folder holding json.hpp)")
if(NOT EXISTS "${VELTRANO_NLOHMANN_JSON_DIR}/json.hpp")
  message(FATAL_ERROR "nlohmann/json not found in ${VELTRANO_NLOHMANN_JSON_DIR}; run scripts/setup")
endif()

set(_veltrano_json_include "${CMAKE_BINARY_DIR}/_deps/nlohmann_json/include")
file(MAKE_DIRECTORY "${_veltrano_json_include}")
file(CREATE_LINK "${VELTRANO_NLOHMANN_JSON_DIR}" "${_veltrano_json_include}/nlohmann" SYMBOLIC)

add_library(veltrano_nlohmann_json INTERFACE)
# SYSTEM: third-party code, so our -Werror does not apply to its warnings.
target_include_directories(veltrano_nlohmann_json SYSTEM INTERFACE "${_veltrano_json_include}")
add_library(nlohmann_json::nlohmann_json ALIAS veltrano_nlohmann_json)
unset(_veltrano_json_include)
