# Windows, dialogs, controls, menus, requests, timers, dialog service, clipboard, shell, files.
list(APPEND PLATFORM_SOURCES
)
