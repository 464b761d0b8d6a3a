# A program against the static Qt for Windows has no plug-in folder: the
# plug-ins it needs are linked in. The windows platform draws on the desktop,
# offscreen runs the QtTest programs headless (under Wine too); the style and
# the printer support are what the windows look like and print with there.
function(quorvin_qt_program target)
  if(NOT WIN32)
    return()
  endif()
  set(plugins)
  foreach(plugin QWindowsIntegrationPlugin QOffscreenIntegrationPlugin QWindowsVistaStylePlugin
                 QWindowsPrinterSupportPlugin)
    if(TARGET Qt6::${plugin})
      list(APPEND plugins Qt6::${plugin})
    endif()
  endforeach()
  qt_import_plugins(${target} INCLUDE ${plugins})
endfunction()
