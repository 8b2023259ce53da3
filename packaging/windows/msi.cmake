cmake_minimum_required(VERSION 3.22)
# Writes the Windows Installer package of the folder the zip holds: every file in it under
# Program Files\Listora, a Start menu entry, and the Apps & features entry, built with wixl.
#   -DSTAGE=<the zip's folder> -DICON=<listora.ico> -DVERSION=<x.y.z> -DWIXL=<wixl> -DOUT=<file.msi>

# Fixed for good: Windows Installer finds the installed Listora by it and replaces it.
set(upgrade_code 6F3A1C52-8E4B-4D27-9B1A-3C5E7D20A914)
# Each file's component keeps its identity from release to release, as Windows Installer
# requires, because the GUID is made from the file's place in the folder.
set(component_namespace 2B7E9F44-51C3-4A8D-8E61-0D4F3A7B9C15)

function(component_guid relative out)
  string(UUID guid NAMESPACE ${component_namespace} NAME "${relative}" TYPE SHA1 UPPER)
  set(${out} ${guid} PARENT_SCOPE)
endfunction()

function(wix_id relative out)
  string(MAKE_C_IDENTIFIER "f_${relative}" id)
  set(${out} ${id} PARENT_SCOPE)
endfunction()

# wixl takes only paths relative to the folder it runs in.
get_filename_component(base ${OUT} DIRECTORY)
file(RELATIVE_PATH stage ${base} ${STAGE})
file(RELATIVE_PATH icon ${base} ${ICON})

file(GLOB_RECURSE files RELATIVE ${STAGE} ${STAGE}/*)
list(SORT files)
# "." for the program's own folder: a CMake list keeps no empty item.
set(folders .)
foreach(relative ${files})
  get_filename_component(folder ${relative} DIRECTORY)
  if(NOT folder STREQUAL "")
    list(APPEND folders "${folder}")
  endif()
endforeach()
list(REMOVE_DUPLICATES folders)

set(components)
set(refs)
foreach(folder ${folders})
  if(folder STREQUAL ".")
    set(directory_id INSTALLDIR)
  else()
    string(MAKE_C_IDENTIFIER "d_${folder}" directory_id)
    string(APPEND components "      <Directory Id=\"${directory_id}\" Name=\"${folder}\">\n")
  endif()
  foreach(relative ${files})
    get_filename_component(file_folder ${relative} DIRECTORY)
    if(file_folder STREQUAL "")
      set(file_folder .)
    endif()
    if(NOT file_folder STREQUAL folder)
      continue()
    endif()
    wix_id(${relative} id)
    component_guid(${relative} guid)
    get_filename_component(name ${relative} NAME)
    string(APPEND components "        <Component Id=\"${id}\" Guid=\"${guid}\" Win64=\"yes\">\n")
    if(relative STREQUAL "listora.exe")
      # Not advertised: the entry starts the program itself, with its own icon.
      string(APPEND components
        "          <File Id=\"${id}\" Name=\"${name}\" Source=\"${stage}/${relative}\" KeyPath=\"yes\">\n"
        "            <Shortcut Id=\"StartMenuEntry\" Directory=\"ProgramMenuFolder\" Name=\"Listora\"\n"
        "                      Description=\"To-do lists\" WorkingDirectory=\"INSTALLDIR\" Icon=\"listora.ico\" Advertise=\"no\"/>\n"
        "          </File>\n")
    else()
      string(APPEND components
        "          <File Id=\"${id}\" Name=\"${name}\" Source=\"${stage}/${relative}\" KeyPath=\"yes\"/>\n")
    endif()
    string(APPEND components "        </Component>\n")
    string(APPEND refs "      <ComponentRef Id=\"${id}\"/>\n")
  endforeach()
  if(NOT folder STREQUAL ".")
    string(APPEND components "      </Directory>\n")
  endif()
endforeach()
if(NOT "listora.exe" IN_LIST files)
  message(FATAL_ERROR "${STAGE} holds no listora.exe")
endif()

file(WRITE ${OUT}.wxs "<?xml version=\"1.0\" encoding=\"utf-8\"?>
<Wix xmlns=\"http://schemas.microsoft.com/wix/2006/wi\">
  <Product Id=\"*\" Name=\"Listora\" Version=\"${VERSION}\" Manufacturer=\"The Listora developers\"
           UpgradeCode=\"${upgrade_code}\" Language=\"1033\" Codepage=\"1252\">
    <Package InstallerVersion=\"500\" Compressed=\"yes\" InstallScope=\"perMachine\"
             Description=\"Listora ${VERSION}, to-do lists\" Manufacturer=\"The Listora developers\"/>
    <!-- A later version takes the place of this one; an earlier one is refused. -->
    <MajorUpgrade DowngradeErrorMessage=\"A later version of Listora is already installed.\"/>
    <Media Id=\"1\" Cabinet=\"listora.cab\" EmbedCab=\"yes\"/>
    <Icon Id=\"listora.ico\" SourceFile=\"${icon}\"/>
    <Property Id=\"ARPPRODUCTICON\" Value=\"listora.ico\"/>
    <Property Id=\"ARPNOMODIFY\" Value=\"1\"/>
    <Directory Id=\"TARGETDIR\" Name=\"SourceDir\">
      <Directory Id=\"ProgramFiles64Folder\">
        <Directory Id=\"INSTALLDIR\" Name=\"Listora\">
${components}        </Directory>
      </Directory>
      <Directory Id=\"ProgramMenuFolder\"/>
    </Directory>
    <Feature Id=\"Listora\" Title=\"Listora\" Level=\"1\">
${refs}    </Feature>
  </Product>
</Wix>
")
file(REMOVE ${OUT})
execute_process(COMMAND ${WIXL} --arch x64 -o ${OUT} ${OUT}.wxs WORKING_DIRECTORY ${base} COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "Wrote ${OUT}")
