# The playback bar the replay page and the studio page share (replay_playback.html): put in at a page's
# <!--__PLAYBACK_BAR__--> marker without its leading comment, which holds no ">". Included by
# vohost/CMakeLists.txt and vohost/studio/studio_page.cmake.
function(place_playback_bar page_var page_name bar)
  string(REGEX REPLACE "^<!--[^>]*-->\n" "" bar "${bar}")
  string(STRIP "${bar}" bar)
  string(FIND "${${page_var}}" "<!--__PLAYBACK_BAR__-->" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${page_name} has no place for the playback bar")
  endif()
  string(REPLACE "<!--__PLAYBACK_BAR__-->" "${bar}" page "${${page_var}}")
  set(${page_var} "${page}" PARENT_SCOPE)
endfunction()
