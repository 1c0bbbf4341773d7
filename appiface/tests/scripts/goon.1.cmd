SptCommand Method ShowInfo "go on"
