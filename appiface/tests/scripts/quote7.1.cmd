SptCommand Method One
SptCommand Method Two 2
SptCommand Method Five "5"
SptCommand Method Eight
