# The install service URL built into the installer must be an http:// origin: every request
# appends its own path to it, so anything more (a trailing slash, a path) or less would make
# every request of every install fail.

# vq_service_url_error(URL OUT): sets OUT to why URL is not http://HOST[:PORT], or to "" when
# it is. HOST is a name or an IPv4 address; PORT is 1 to 65535 without leading zeros.
function(vq_service_url_error url out)
  set(error "")
  if(NOT url MATCHES "^http://([A-Za-z0-9]([A-Za-z0-9.-]*[A-Za-z0-9])?)(:([0-9]+))?$")
    set(error "it is not http://HOST or http://HOST:PORT (no path, no trailing slash)")
  elseif(NOT CMAKE_MATCH_4 STREQUAL "")
    set(port "${CMAKE_MATCH_4}")
    string(LENGTH "${port}" digits)
    if(port MATCHES "^0" OR digits GREATER 5 OR port GREATER 65535)
      set(error "its port ${port} is not a number from 1 to 65535")
    endif()
  endif()
  set(${out} "${error}" PARENT_SCOPE)
endfunction()

# vq_check_service_url(URL): stops the configuration with a message when URL is unusable.
function(vq_check_service_url url)
  vq_service_url_error("${url}" error)
  if(error)
    message(FATAL_ERROR "INSTALL_SERVICE_URL is \"${url}\": ${error}. Expected the install "
                        "service's origin, such as http://127.0.0.1:18080 or "
                        "http://example.com")
  endif()
endfunction()
