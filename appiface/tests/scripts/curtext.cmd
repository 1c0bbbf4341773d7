SptCommand Get curText
SptCommand Let curText "ABC"
