# Drawing context, colours, pens, brushes, fonts, bitmaps, images.
list(APPEND PLATFORM_SOURCES
)
