# The resource compiler's includes are not scanned for changes: name the page templates and the
# id header as inputs of the resource script, in the directory that compiles it.
function(veltrano_resource_inputs RC_FILE)
  file(GLOB page_templates CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/pages/*.rc)
  set_source_files_properties(${RC_FILE} PROPERTIES
      OBJECT_DEPENDS "${page_templates};${PROJECT_SOURCE_DIR}/resources/resource.h")
endfunction()
