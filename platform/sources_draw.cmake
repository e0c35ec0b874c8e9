# Drawing context, colours, pens, brushes, fonts, bitmaps, images.
list(APPEND PLATFORM_SOURCES
  color.cpp
  font.cpp
  text_metrics.cpp
  bitmap.cpp
  canvas.cpp
  canvas_session.cpp
  canvas_stamps.cpp
  image.cpp
  word_document.cpp
)
