SptCommand Get SptFileName
SptCommand Method Show 0, "names.zub", "Yarrick 1.0.0"
