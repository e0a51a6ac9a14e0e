# Each folder's sources are picked up by pattern, so adding a file needs no
# edit of a shared list:
#   <folder>/core/*.cpp   plain C++ (no Qt)  -> vornik_core
#   <folder>/*.cpp        Qt code            -> vornik_gui
# storage/ and the top of platform/ are plain C++ as a whole; platform/qt/ is
# the Qt half of the platform layer. Files ending in _win.cpp build only on
# Windows, files ending in _posix.cpp or _iconv.cpp only elsewhere.

function(vornik_filter_platform out_var)
  set(result)
  foreach(file ${ARGN})
    if(WIN32 AND file MATCHES "_(posix|iconv)\\.cpp$")
      continue()
    endif()
    if(NOT WIN32 AND file MATCHES "_win\\.cpp$")
      continue()
    endif()
    list(APPEND result ${file})
  endforeach()
  set(${out_var} ${result} PARENT_SCOPE)
endfunction()

function(vornik_add_core_sources pattern_dir)
  file(GLOB files CONFIGURE_DEPENDS ${pattern_dir}/*.cpp ${pattern_dir}/*.h)
  vornik_filter_platform(files ${files})
  if(files)
    target_sources(vornik_core PRIVATE ${files})
  endif()
endfunction()

function(vornik_add_gui_sources pattern_dir)
  if(NOT VORNIK_BUILD_GUI)
    return()
  endif()
  file(GLOB files CONFIGURE_DEPENDS ${pattern_dir}/*.cpp ${pattern_dir}/*.h ${pattern_dir}/*.ui ${pattern_dir}/*.qrc)
  vornik_filter_platform(files ${files})
  if(files)
    target_sources(vornik_gui PRIVATE ${files})
  endif()
endfunction()
