' The script engine identifies itself as VBScript 5.8.
AssertEqual ScriptEngine, "VBScript", "ScriptEngine"
AssertEqual ScriptEngineMajorVersion, 5, "major version"
AssertEqual ScriptEngineMinorVersion, 8, "minor version"
AssertTrue ScriptEngineBuildVersion > 0, "build version"
