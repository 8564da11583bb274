# The studio page as one file: studio_page.html with the module, the renderer, its playback bar and the
# page's own style and script put inline, so it opens from disk with no server and no network.
#   cmake -DMODULE=nimbo_studio.js -DRENDERER=dir-of-replay_renderer -DPAGE=dir-of-studio_page -DOUT=studio.html
#         -P studio_page.cmake
file(READ ${PAGE}/studio_page.html page)
include(${RENDERER}/replay_playback.cmake)
file(READ ${RENDERER}/replay_playback.html bar)
place_playback_bar(page studio_page.html "${bar}")
foreach(part IN ITEMS "STUDIO_MODULE;${MODULE}" "RENDERER_SCRIPT;${RENDERER}/replay_renderer.js"
                      "RENDERER_STYLE;${RENDERER}/replay_renderer.css" "STUDIO_SCRIPT;${PAGE}/studio_page.js"
                      "STUDIO_STYLE;${PAGE}/studio_page.css")
  list(GET part 0 marker)
  list(GET part 1 file)
  file(READ ${file} content)
  # An inline part must not end the element it sits in, nor open an HTML comment there.
  if(content MATCHES "</(script|style)" OR content MATCHES "<!--")
    message(FATAL_ERROR "${file} would end the page's element it is put in")
  endif()
  string(FIND "${page}" "/*__${marker}__*/" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "studio_page.html has no place for ${file}")
  endif()
  string(REPLACE "/*__${marker}__*/" "${content}" page "${page}")
endforeach()
file(WRITE ${OUT} "${page}")
