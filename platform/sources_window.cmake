# Windows, dialogs, controls, menus, requests, timers, dialog service, clipboard, shell, files.
list(APPEND PLATFORM_SOURCES
  application.cpp
  clipboard.cpp
  control.cpp
  control_look.cpp
  ctl_color.cpp
  dialog.cpp
  dialog_template.cpp
  dialog_widgets.cpp
  dialogs.cpp
  exchange.cpp
  font_choice.cpp
  guard.cpp
  menu.cpp
  requests.cpp
  scripted_dialogs.cpp
  system.cpp
  wait_cursor.cpp
)
