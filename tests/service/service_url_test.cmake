# The configure-time check of INSTALL_SERVICE_URL: origins pass, anything else is refused, and
# the project's own configuration stops on a bad value with a message saying what is expected.
#   cmake -DSOURCE_DIR=<repository> -DWORK=<scratch folder> -P service_url_test.cmake
include("${SOURCE_DIR}/cmake/ServiceUrl.cmake")

foreach(url IN ITEMS "http://127.0.0.1:18080" "http://service.example" "http://a-b.example:1"
                     "http://10.0.0.2:65535" "http://localhost")
  vq_service_url_error("${url}" error)
  if(error)
    message(SEND_ERROR "refused the usable URL ${url}: ${error}")
  endif()
endforeach()

foreach(url IN ITEMS "http://host/" "http://host/v1" "http://host:8080/" "http://host?x=1"
                     "http://host#top" "https://host" "HTTP://host" "host:8080" "//host"
                     "http://" "http://:80" "http://host:" "http://host:0" "http://host:080"
                     "http://host:65536" "http://host:99999999999" "http://user@host"
                     "http://-host" "http://ho st" " http://host" "http://host " "")
  vq_service_url_error("${url}" error)
  if(NOT error)
    message(SEND_ERROR "accepted the unusable URL \"${url}\"")
  endif()
endforeach()

file(REMOVE_RECURSE "${WORK}")
execute_process(
  COMMAND "${CMAKE_COMMAND}" -S "${SOURCE_DIR}" -B "${WORK}" -DVQ_BUILD_TESTS=OFF
          "-DINSTALL_SERVICE_URL=http://127.0.0.1:18080/"
  RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE output)
file(REMOVE_RECURSE "${WORK}")
string(REGEX REPLACE "[ \n]+" " " output "${output}")
if(result EQUAL 0)
  message(SEND_ERROR "the project configured with a trailing slash on the service URL")
elseif(NOT output MATCHES "INSTALL_SERVICE_URL is \"http://127.0.0.1:18080/\": it is not http://HOST or http://HOST:PORT .* Expected the install service's origin")
  message(SEND_ERROR "configuring failed without the URL message:\n${output}")
endif()
